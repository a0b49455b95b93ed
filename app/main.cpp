#include <application.h>
#include <form1.h>

#include <cstdio>
#include <string_view>

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs("Usage: zelvor [--help] [--version]\n"
                       "Opens a window, in Czech, that meters the price of a telephone call.\n"
                       "Press Start (Alt+S) when the call connects and Stop & Konec (Alt+T) when it ends.\n",
                       stdout);
            return 0;
        }
        if (option == "--version") {
            std::fputs("zelvor " ZELVOR_VERSION "\n", stdout);
            return 0;
        }
    }
    return tk::run<Form1>(argc, argv, ZELVOR_APP_ID);
}
