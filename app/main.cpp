#include <application.h>
#include <form1.h>

int main(int argc, char *argv[])
{
    const tk::CommandLine commandLine{
        .name = "zelvor",
        .usage = "Usage: zelvor [-h | --help] [--version]\n"
                 "Opens a window, in Czech, that meters the price of a telephone call.\n"
                 "Press Start (Alt+S) when the call connects and Stop & Konec (Alt+T) when it ends.\n"
                 "Qt's own options, such as -platform NAME, -display DISPLAY and -style STYLE,\n"
                 "are accepted as well.\n",
        .version = "zelvor " ZELVOR_VERSION "\n",
    };
    return tk::run<Form1>(argc, argv, ZELVOR_APP_ID, commandLine);
}
