// Starts the history-quotes loader: every Market Watch symbol on the ticked
// timeframes, the script QuotesSensor run on each. Run it again while the
// loader works to stop it (Stop = true) or to skip the step it waits on
// (Skip = true); with neither, the order and timeframes given are taken for
// the steps still to come.
#property show_inputs
#include <RazozazER4.mqh>

extern bool Stop = false;
extern bool Skip = false;
extern bool BySymbols = true;
extern bool M1  = false;
extern bool M5  = false;
extern bool M15 = false;
extern bool M30 = false;
extern bool H1  = true;
extern bool H4  = true;
extern bool D1  = true;
extern bool W1  = true;
extern bool MN  = true;

int start()
{
   int timeframes[9];
   timeframes[0] = M1;  timeframes[1] = M5;  timeframes[2] = M15;
   timeframes[3] = M30; timeframes[4] = H1;  timeframes[5] = H4;
   timeframes[6] = D1;  timeframes[7] = W1;  timeframes[8] = MN;
   int command = 1;
   if (Skip) command = 0;
   if (Stop) command = 2;
   int running = VelmorLoaderQuotes(command, BySymbols, timeframes, "QuotesSensor");
   if (running == 1) Print("Loader running; command ", command, " given");
   else if (running == 0) Print("Loader started");
   else if (running == 2) Print("No loader run in progress: nothing to skip or stop");
   else Print("Loader not started");
   return(0);
}
