#include "tests/framework/TestApp.h"

CTestApp& TestApp() {
    static CTestApp app;
    return app;
}
