// Logs the terminal in to an account and prints the trade server it shows.
// Run it from the Navigator; allow DLL imports in its properties.
#property show_inputs
#include <RazozazER4.mqh>

extern int    Account  = 0;     // 0 leaves account, password and server as the dialog shows them
extern string Password = "";
extern string Server   = "";
extern bool   SavePassword = true;

int start()
{
   VelmorLogin(Account, Password, Server, SavePassword);
   Sleep(3000);   // the terminal connects on its own thread
   Print("Trade server: ", VelmorGetNameServer());
   return(0);
}
