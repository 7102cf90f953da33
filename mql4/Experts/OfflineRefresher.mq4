// Keeps an offline chart moving: attach it to the offline chart whose file
// another program writes; the library's worker refreshes the chart every
// RefreshMs milliseconds until the expert is removed or its chart closed. A
// change of timeframe, inputs or account reinitialises the expert and keeps
// the refresh going.
#include <RazozazER4.mqh>

extern int RefreshMs = 500;

int chart = 0;

int init()
{
   chart = (int)ChartGetInteger(0, CHART_WINDOW_HANDLE);   // this expert's own chart
   if (chart == 0)
   {
      Print("no chart window: nothing to refresh");
      return(0);
   }
   VelmorRefreshChart(chart, RefreshMs);
   return(0);
}

int deinit()
{
   int reason = UninitializeReason();
   if (chart != 0 && (reason == REASON_REMOVE || reason == REASON_CHARTCLOSE || reason == REASON_PROGRAM))
      VelmorStopRefreshChart(chart);
   return(0);
}

int start()
{
   return(0);
}
