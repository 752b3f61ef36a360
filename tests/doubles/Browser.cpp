// Stands in for the web browser and the mail program: the test prefix registers it for
// "http", "https", "mailto" and as the ".htm" open command, so every page or mail address
// the launcher opens is written down here, and nothing is opened.
#include <windows.h>

#include "tests/doubles/Arguments.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    return RecordThisStart(L"browser");
}
