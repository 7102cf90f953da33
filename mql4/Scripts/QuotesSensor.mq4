// Run by the loader on its chart for each symbol and timeframe: waits until
// the terminal has the chart's history, then tells the loader to go on. The
// chart is named by its own handle: another chart of the same symbol and
// period would not be the one the loader waits on.
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
   VelmorSensorLoadQuotes((int)ChartGetInteger(0, CHART_WINDOW_HANDLE));
   return(0);
}
