#pragma once
// The Mailbox tab of the Terminal panel: its list (columns time, from and
// subject, one line per message of the scenario) and the windows in which
// messages open.
#include <windows.h>

#include <cstddef>

namespace StandIn {

class Ui;

// The Mailbox tab's number; its list is the Terminal panel's list of that number.
constexpr size_t MailboxTab = 4;

// Fills the Mailbox tab's list and serves it from now on, on this thread:
// a double click opens the selected message in a top-level window titled
// with its subject, which holds an "Internet Explorer_Server" control showing
// the body; Delete removes the selected message. The thread joins a
// single-threaded apartment for the pages it hands out.
void ServeMailbox(Ui& ui, HWND list);

}  // namespace StandIn
