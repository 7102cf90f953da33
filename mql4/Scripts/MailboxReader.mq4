// Lists the terminal's mailbox (Terminal panel, Mailbox tab) and prints the
// text of the first message in the list whose sender contains From. An empty
// mailbox prints nothing and shows no box.
#property show_inputs
#include <RazozazER4.mqh>

extern string From = "";

int start()
{
   VelmorShowTerminal();
   VelmorSetTerminalTabByNumber(4);   // Mailbox
   int size = VelmorMailboxSize();
   if (size <= 0) return(0);   // an empty list has no line to search
   for (int line = 0; line < size; line++)
   {
      // Each text result is copied before the next call that returns text.
      string time = VelmorMailboxGetStringTime(line);
      string from = VelmorMailboxGetFrom(line);
      string theme = VelmorMailboxGetTheme(line);
      Print(line, ": ", time, " | ", from, " | ", theme);
   }
   int found = VelmorMailboxGetLine("", From, "", 0, -1);
   if (found < 0) return(0);
   // The terminal opens the message window after the double click: look for
   // it for at most 5 s. A window that is the terminal's own main window (a
   // subject that begins its title) is not the message.
   int window = 0;
   for (int attempt = 0; attempt < 10 && window == 0; attempt++)
   {
      window = VelmorMailboxOpen(found);
      if (window == VelmorHandleMT4()) window = 0;
      if (window == 0) Sleep(500);
   }
   if (window == 0)
   {
      Print("the message window did not open");
      return(0);
   }
   Sleep(500);   // the message window loads its document
   string text = VelmorMailboxReadText(window);
   Print(text);
   VelmorMailboxCloseByHandle(window);
   return(0);
}
