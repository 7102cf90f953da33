#pragma once
// The methods of the page interfaces that a message page does not offer:
// each answers E_NOTIMPL. Every slot keeps the interface's own argument list,
// so that each one removes exactly its own arguments (the calling convention
// of the 32-bit build), whoever calls it.
//
// STANDIN_HTML_<OBJECT>_STUBS(N) calls N(method, argument types...) once for
// every method of that object's interfaces (after IDispatch) except those the
// object answers itself: the document get_Script, get_body, get_parentWindow
// and get_title; the window get_document; the body element get_innerHTML,
// get_innerText and get_tagName.
#include <windows.h>
#include <mshtml.h>

#define STANDIN_HTML_DOCUMENT_STUBS(N) \
    N(get_all, IHTMLElementCollection**) N(get_activeElement, IHTMLElement**) \
    N(get_images, IHTMLElementCollection**) N(get_applets, IHTMLElementCollection**) \
    N(get_links, IHTMLElementCollection**) N(get_forms, IHTMLElementCollection**) \
    N(get_anchors, IHTMLElementCollection**) N(put_title, BSTR) N(get_scripts, IHTMLElementCollection**) \
    N(put_designMode, BSTR) N(get_designMode, BSTR*) N(get_selection, IHTMLSelectionObject**) \
    N(get_readyState, BSTR*) N(get_frames, IHTMLFramesCollection2**) N(get_embeds, IHTMLElementCollection**) \
    N(get_plugins, IHTMLElementCollection**) N(put_alinkColor, VARIANT) N(get_alinkColor, VARIANT*) \
    N(put_bgColor, VARIANT) N(get_bgColor, VARIANT*) N(put_fgColor, VARIANT) N(get_fgColor, VARIANT*) \
    N(put_linkColor, VARIANT) N(get_linkColor, VARIANT*) N(put_vlinkColor, VARIANT) N(get_vlinkColor, VARIANT*) \
    N(get_referrer, BSTR*) N(get_location, IHTMLLocation**) N(get_lastModified, BSTR*) N(put_URL, BSTR) \
    N(get_URL, BSTR*) N(put_domain, BSTR) N(get_domain, BSTR*) N(put_cookie, BSTR) N(get_cookie, BSTR*) \
    N(put_expando, VARIANT_BOOL) N(get_expando, VARIANT_BOOL*) N(put_charset, BSTR) N(get_charset, BSTR*) \
    N(put_defaultCharset, BSTR) N(get_defaultCharset, BSTR*) N(get_mimeType, BSTR*) N(get_fileSize, BSTR*) \
    N(get_fileCreatedDate, BSTR*) N(get_fileModifiedDate, BSTR*) N(get_fileUpdatedDate, BSTR*) \
    N(get_security, BSTR*) N(get_protocol, BSTR*) N(get_nameProp, BSTR*) N(write, SAFEARRAY*) \
    N(writeln, SAFEARRAY*) N(open, BSTR, VARIANT, VARIANT, VARIANT, IDispatch**) N(close) N(clear) \
    N(queryCommandSupported, BSTR, VARIANT_BOOL*) N(queryCommandEnabled, BSTR, VARIANT_BOOL*) \
    N(queryCommandState, BSTR, VARIANT_BOOL*) N(queryCommandIndeterm, BSTR, VARIANT_BOOL*) \
    N(queryCommandText, BSTR, BSTR*) N(queryCommandValue, BSTR, VARIANT*) \
    N(execCommand, BSTR, VARIANT_BOOL, VARIANT, VARIANT_BOOL*) N(execCommandShowHelp, BSTR, VARIANT_BOOL*) \
    N(createElement, BSTR, IHTMLElement**) N(put_onhelp, VARIANT) N(get_onhelp, VARIANT*) N(put_onclick, VARIANT) \
    N(get_onclick, VARIANT*) N(put_ondblclick, VARIANT) N(get_ondblclick, VARIANT*) N(put_onkeyup, VARIANT) \
    N(get_onkeyup, VARIANT*) N(put_onkeydown, VARIANT) N(get_onkeydown, VARIANT*) N(put_onkeypress, VARIANT) \
    N(get_onkeypress, VARIANT*) N(put_onmouseup, VARIANT) N(get_onmouseup, VARIANT*) N(put_onmousedown, VARIANT) \
    N(get_onmousedown, VARIANT*) N(put_onmousemove, VARIANT) N(get_onmousemove, VARIANT*) \
    N(put_onmouseout, VARIANT) N(get_onmouseout, VARIANT*) N(put_onmouseover, VARIANT) \
    N(get_onmouseover, VARIANT*) N(put_onreadystatechange, VARIANT) N(get_onreadystatechange, VARIANT*) \
    N(put_onafterupdate, VARIANT) N(get_onafterupdate, VARIANT*) N(put_onrowexit, VARIANT) \
    N(get_onrowexit, VARIANT*) N(put_onrowenter, VARIANT) N(get_onrowenter, VARIANT*) N(put_ondragstart, VARIANT) \
    N(get_ondragstart, VARIANT*) N(put_onselectstart, VARIANT) N(get_onselectstart, VARIANT*) \
    N(elementFromPoint, LONG, LONG, IHTMLElement**) N(get_styleSheets, IHTMLStyleSheetsCollection**) \
    N(put_onbeforeupdate, VARIANT) N(get_onbeforeupdate, VARIANT*) N(put_onerrorupdate, VARIANT) \
    N(get_onerrorupdate, VARIANT*) N(toString, BSTR*) N(createStyleSheet, BSTR, LONG, IHTMLStyleSheet**)

#define STANDIN_HTML_WINDOW_STUBS(N) \
    N(item, VARIANT*, VARIANT*) N(get_length, LONG*) N(get_frames, IHTMLFramesCollection2**) \
    N(put_defaultStatus, BSTR) N(get_defaultStatus, BSTR*) N(put_status, BSTR) N(get_status, BSTR*) \
    N(setTimeout, BSTR, LONG, VARIANT*, LONG*) N(clearTimeout, LONG) N(alert, BSTR) \
    N(confirm, BSTR, VARIANT_BOOL*) N(prompt, BSTR, BSTR, VARIANT*) N(get_Image, IHTMLImageElementFactory**) \
    N(get_location, IHTMLLocation**) N(get_history, IOmHistory**) N(close) N(put_opener, VARIANT) \
    N(get_opener, VARIANT*) N(get_navigator, IOmNavigator**) N(put_name, BSTR) N(get_name, BSTR*) \
    N(get_parent, IHTMLWindow2**) N(open, BSTR, BSTR, BSTR, VARIANT_BOOL, IHTMLWindow2**) \
    N(get_self, IHTMLWindow2**) N(get_top, IHTMLWindow2**) N(get_window, IHTMLWindow2**) N(navigate, BSTR) \
    N(put_onfocus, VARIANT) N(get_onfocus, VARIANT*) N(put_onblur, VARIANT) N(get_onblur, VARIANT*) \
    N(put_onload, VARIANT) N(get_onload, VARIANT*) N(put_onbeforeunload, VARIANT) N(get_onbeforeunload, VARIANT*) \
    N(put_onunload, VARIANT) N(get_onunload, VARIANT*) N(put_onhelp, VARIANT) N(get_onhelp, VARIANT*) \
    N(put_onerror, VARIANT) N(get_onerror, VARIANT*) N(put_onresize, VARIANT) N(get_onresize, VARIANT*) \
    N(put_onscroll, VARIANT) N(get_onscroll, VARIANT*) N(get_event, IHTMLEventObj**) N(get__newEnum, IUnknown**) \
    N(showModalDialog, BSTR, VARIANT*, VARIANT*, VARIANT*) N(showHelp, BSTR, VARIANT, BSTR) \
    N(get_screen, IHTMLScreen**) N(get_Option, IHTMLOptionElementFactory**) N(focus) N(get_closed, VARIANT_BOOL*) \
    N(blur) N(scroll, LONG, LONG) N(get_clientInformation, IOmNavigator**) \
    N(setInterval, BSTR, LONG, VARIANT*, LONG*) N(clearInterval, LONG) N(put_offscreenBuffering, VARIANT) \
    N(get_offscreenBuffering, VARIANT*) N(execScript, BSTR, BSTR, VARIANT*) N(toString, BSTR*) \
    N(scrollBy, LONG, LONG) N(scrollTo, LONG, LONG) N(moveTo, LONG, LONG) N(moveBy, LONG, LONG) \
    N(resizeTo, LONG, LONG) N(resizeBy, LONG, LONG) N(get_external, IDispatch**)

#define STANDIN_HTML_ELEMENT_STUBS(N) \
    N(setAttribute, BSTR, VARIANT, LONG) N(getAttribute, BSTR, LONG, VARIANT*) \
    N(removeAttribute, BSTR, LONG, VARIANT_BOOL*) N(put_className, BSTR) N(get_className, BSTR*) N(put_id, BSTR) \
    N(get_id, BSTR*) N(get_parentElement, IHTMLElement**) N(get_style, IHTMLStyle**) N(put_onhelp, VARIANT) \
    N(get_onhelp, VARIANT*) N(put_onclick, VARIANT) N(get_onclick, VARIANT*) N(put_ondblclick, VARIANT) \
    N(get_ondblclick, VARIANT*) N(put_onkeydown, VARIANT) N(get_onkeydown, VARIANT*) N(put_onkeyup, VARIANT) \
    N(get_onkeyup, VARIANT*) N(put_onkeypress, VARIANT) N(get_onkeypress, VARIANT*) N(put_onmouseout, VARIANT) \
    N(get_onmouseout, VARIANT*) N(put_onmouseover, VARIANT) N(get_onmouseover, VARIANT*) \
    N(put_onmousemove, VARIANT) N(get_onmousemove, VARIANT*) N(put_onmousedown, VARIANT) \
    N(get_onmousedown, VARIANT*) N(put_onmouseup, VARIANT) N(get_onmouseup, VARIANT*) N(get_document, IDispatch**) \
    N(put_title, BSTR) N(get_title, BSTR*) N(put_language, BSTR) N(get_language, BSTR*) \
    N(put_onselectstart, VARIANT) N(get_onselectstart, VARIANT*) N(scrollIntoView, VARIANT) \
    N(contains, IHTMLElement*, VARIANT_BOOL*) N(get_sourceIndex, LONG*) N(get_recordNumber, VARIANT*) \
    N(put_lang, BSTR) N(get_lang, BSTR*) N(get_offsetLeft, LONG*) N(get_offsetTop, LONG*) \
    N(get_offsetWidth, LONG*) N(get_offsetHeight, LONG*) N(get_offsetParent, IHTMLElement**) \
    N(put_innerHTML, BSTR) N(put_innerText, BSTR) N(put_outerHTML, BSTR) N(get_outerHTML, BSTR*) \
    N(put_outerText, BSTR) N(get_outerText, BSTR*) N(insertAdjacentHTML, BSTR, BSTR) \
    N(insertAdjacentText, BSTR, BSTR) N(get_parentTextEdit, IHTMLElement**) N(get_isTextEdit, VARIANT_BOOL*) \
    N(click) N(get_filters, IHTMLFiltersCollection**) N(put_ondragstart, VARIANT) N(get_ondragstart, VARIANT*) \
    N(toString, BSTR*) N(put_onbeforeupdate, VARIANT) N(get_onbeforeupdate, VARIANT*) \
    N(put_onafterupdate, VARIANT) N(get_onafterupdate, VARIANT*) N(put_onerrorupdate, VARIANT) \
    N(get_onerrorupdate, VARIANT*) N(put_onrowexit, VARIANT) N(get_onrowexit, VARIANT*) N(put_onrowenter, VARIANT) \
    N(get_onrowenter, VARIANT*) N(put_ondatasetchanged, VARIANT) N(get_ondatasetchanged, VARIANT*) \
    N(put_ondataavailable, VARIANT) N(get_ondataavailable, VARIANT*) N(put_ondatasetcomplete, VARIANT) \
    N(get_ondatasetcomplete, VARIANT*) N(put_onfilterchange, VARIANT) N(get_onfilterchange, VARIANT*) \
    N(get_children, IDispatch**) N(get_all, IDispatch**)

