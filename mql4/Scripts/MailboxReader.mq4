// Lists the terminal's mailbox (Terminal panel, Mailbox tab) and prints the
// text of the first message in the list whose sender contains From.
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
      Print(line, ": ", VelmorMailboxGetStringTime(line), " | ", VelmorMailboxGetFrom(line), " | ",
            VelmorMailboxGetTheme(line));
   int found = VelmorMailboxGetLine("", From, "", 0, -1);
   if (found < 0) return(0);
   int window = VelmorMailboxOpen(found);
   if (window == 0) return(0);
   Sleep(500);   // the message window loads its document
   Print(VelmorMailboxReadText(window));
   VelmorMailboxCloseByHandle(window);
   return(0);
}
