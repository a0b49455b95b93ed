#include <form1.h>

int main(int argc, char *argv[])
{
    return tk::run<Form1>(argc, argv, ZELVOR_APP_ID);
}
