// Logs the terminal in to an account and prints the trade server it shows.
// Run it from the Navigator; allow DLL imports in its properties.
#property show_inputs
#include <RazozazER4.mqh>

// Account 0 logs in with what the login dialog already shows: the library then
// fills neither the account nor the password nor the server (Password and
// Server are ignored) and only sets the save-password box and presses Login.
extern int    Account  = 0;
extern string Password = "";
extern string Server   = "";
extern bool   SavePassword = true;

int start()
{
   VelmorLogin(Account, Password, Server, SavePassword);
   Sleep(3000);   // the terminal connects on its own thread
   // The server the login dialog proposes (the library reopens the dialog and
   // cancels it); AccountServer() gives the one the terminal is connected to.
   string server = VelmorGetNameServer();
   Print("Trade server: ", server, ", connected to: ", AccountServer());
   return(0);
}
