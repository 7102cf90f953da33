// Prints every symbol of the Market Watch list, and writes them to
// marketwatch.csv in the data folder's MQL4\Files.
#include <RazozazER4.mqh>

int start()
{
   int i;
   int rows = VelmorGetNumberTools();
   if (rows <= 0) return(0);
   string symbols[];
   ArrayResize(symbols, rows);
   for (i = 0; i < rows; i++)   // the library writes into the strings' own buffers
      StringInit(symbols[i], 32, ' ');
   int count = VelmorGetAllSymbols(symbols, rows);
   int file = FileOpen("marketwatch.csv", FILE_CSV | FILE_WRITE, ';');
   for (i = 0; i < count && i < rows; i++) {
      Print(i, ": ", symbols[i]);
      if (file >= 0) FileWrite(file, i, symbols[i]);
   }
   if (file >= 0) FileClose(file);
   Print(count, " symbols; EURUSD is on line ", VelmorLineBySymbol("EURUSD"));
   return(0);
}
