#pragma once
// The page a message window shows. The terminal shows a message in a
// browser control; here the control's document is the stand-in's own: a
// document whose script object is its window, and a body element that gives
// its markup and its text. Other threads and processes reach it through the
// registered message "WM_HTML_GETOBJECT", as any browser control is reached.
#include <windows.h>

#include <string>

namespace StandIn::Html {

// The text a browser shows for `markup`: tags dropped, runs of white space
// one blank, <br> and the ends of blocks (p, div, li, tr, h1-h6) line breaks,
// character references (&lt; &gt; &amp; &quot; &apos; &nbsp; &#N; &#xN;)
// decoded, blanks at both ends dropped.
std::wstring TextOf(const std::wstring& markup);

// Code page 1251 text as UTF-16.
std::wstring Wide(const std::string& text);

// The answer to "WM_HTML_GETOBJECT": a new document titled `title` whose body
// holds `markup` (both code page 1251), handed out with LresultFromObject;
// 0 when it cannot be handed out. Call on a thread that has joined a
// single-threaded apartment and dispatches its messages.
LRESULT DocumentResult(const std::string& title, const std::string& markup, WPARAM wParam);

}  // namespace StandIn::Html
