// Run by the loader on its chart for each symbol and timeframe: waits until
// the terminal has the chart's history, then tells the loader to go on.
#include <RazozazER4.mqh>

extern int WaitMs = 10000;

int start()
{
   int waited = 0;
   while (Bars < 100 && waited < WaitMs && !IsStopped()) {
      Sleep(250);
      waited += 250;
      RefreshRates();
   }
   Print(Symbol(), ",", Period(), ": ", Bars, " bars");
   VelmorSensorLoadQuotes(WindowHandle(Symbol(), Period()));
   return(0);
}
