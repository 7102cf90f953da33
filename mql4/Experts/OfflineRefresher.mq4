// Keeps an offline chart moving: attach it to the offline chart whose file
// another program writes; the library's worker refreshes the chart every
// RefreshMs milliseconds until the expert is removed.
#include <RazozazER4.mqh>

extern int RefreshMs = 500;

int chart = 0;

int init()
{
   chart = (int)ChartGetInteger(0, CHART_WINDOW_HANDLE);   // this expert's own chart
   VelmorRefreshChart(chart, RefreshMs);
   return(0);
}

int deinit()
{
   VelmorStopRefreshChart(chart);
   return(0);
}

int start()
{
   return(0);
}
