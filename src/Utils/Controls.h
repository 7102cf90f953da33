#pragma once
// Access to the terminal's common controls: list views, tree views, tab
// controls, edits, buttons and statics, in this process or in another one.
//
//   Check(window, kind) / <Kind>::Check(window)
//       The handle is a live window whose class contains the kind's name
//       (case-insensitive: SysListView32 is a ListView); schedules a repaint.
//       Check boxes and radio buttons are of class "Button": check them with
//       Button::Check.
//   ListView::GetItem(list)              -> {rows, columns}, both 16-bit.
//   ListView::Visible(list, row)         scrolls the row fully into view.
//   ListView::KeyDown(list, row)         selects and focuses the row (no key is sent).
//   ListView::GetText(list, row, column) -> the cell's text; the row is left
//       scrolled into view, selected and focused. The column is tested first.
//   ListView::GetTextItem(list)          -> the first column of every row, in
//       order; nothing is scrolled or selected. Carried to the list's thread
//       in turns of 20 ms when that is another thread of this process.
//   TreeView::GetText(tree, line)        -> the text of the line-th line (from 0)
//       of a full top-down walk: branches met on the way are expanded, those
//       the walk opened are collapsed again, except the last one when it was
//       met right before the target; the target line is left selected. The
//       whole walk is carried to the tree's thread as GetTextItem's turns are.
//   TabControl::SetFocus(tabs, index)    focuses tab `index`; -> the tab count.
//   TabControl::ItemMiddle(tabs, index, point) -> false when the strip does not
//       answer TCM_GETITEMRECT (no tab control, no such tab); else true and
//       the middle of the tab in the strip's client coordinates.
//   Button::GetCheck(button)             -> true when the check box or radio button is checked.
//   Button::Click(button)                presses the button as the user would (BM_CLICK).
//   Edit::SetText(edit, text)            sets the text; -> the text read back.
//   Edit::GetText(edit)                  -> the whole text.
//   Static::GetText(label)               -> the whole text.
//
//   Send(method, window, message, wParam, lParam) -> the answer to one message
//       (no pointer in it), within Wait::ControlBound; `method` names the
//       caller in the text of a window that did not answer.
//
// Every function checks the control first and throws an error text on any
// failure; none returns a failure value. Item queries for a control of
// another process go through one Memory::Distant block per call. Every
// message has the bound Wait::ControlBound: a control that does not answer
// in time is reported, never waited for without end.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Utils::Controls {

LRESULT Send(const char* method, HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Who sends a bulk read's or walk's messages to a control of another thread of
// this process: the control's own thread, the work carried there in one round
// trip (each message a direct call), or the caller, one round trip per message.
// The control receives the same messages in the same order either way; a
// control of another process is always sent to per message.
enum class Route { Carried, PerMessage };

enum class Kind {
    Empty,
    Button,
    CheckBox,
    Edit,
    IEServer,  // "Internet Explorer_Server"
    ListView,
    RadioButton,
    Static,
    TabControl,
    TreeView,
};

// The kind's name as it appears in class names and error texts.
const char* Name(Kind kind);

void Check(HWND window, Kind kind);

namespace Button {
inline void Check(HWND window) { Controls::Check(window, Kind::Button); }
bool GetCheck(HWND window);
void Click(HWND window);
}  // namespace Button

namespace Static {
inline void Check(HWND window) { Controls::Check(window, Kind::Static); }
std::string GetText(HWND window);
}  // namespace Static

namespace Edit {
inline void Check(HWND window) { Controls::Check(window, Kind::Edit); }
std::string SetText(HWND window, const std::string& text);
std::string GetText(HWND window);
// Sets the text of a password field: not read back, and the library's copy
// is wiped once the field has taken it.
void SetSecret(HWND window, const char* text);
}  // namespace Edit

namespace ListView {
struct Size {
    uint16_t rows;
    uint16_t columns;
};
inline void Check(HWND window) { Controls::Check(window, Kind::ListView); }
Size GetItem(HWND window);
void Visible(HWND window, uint32_t row);
void KeyDown(HWND window, uint32_t row);
std::string GetText(HWND window, uint32_t row, uint32_t column);
std::vector<std::string> GetTextItem(HWND window, Route route = Route::Carried);
}  // namespace ListView

namespace TreeView {
inline void Check(HWND window) { Controls::Check(window, Kind::TreeView); }
std::string GetText(HWND window, uint32_t line, Route route = Route::Carried);
}  // namespace TreeView

namespace TabControl {
inline void Check(HWND window) { Controls::Check(window, Kind::TabControl); }
uint16_t SetFocus(HWND window, uint32_t index);
bool ItemMiddle(HWND window, uint32_t index, POINT& middle);
}  // namespace TabControl

}  // namespace Utils::Controls
