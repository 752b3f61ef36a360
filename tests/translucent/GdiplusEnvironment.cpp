// GDI+ runs for the whole test program, as the application keeps it running for the launcher.
#include <gtest/gtest.h>
#include "imaging/Gdiplus.h"

namespace {

class GdiplusEnvironment : public testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&m_token, &input, nullptr));
    }
    void TearDown() override {
        if (m_token)
            Gdiplus::GdiplusShutdown(m_token);
        m_token = 0;
    }

private:
    ULONG_PTR m_token = 0;
};

const auto* const g_environment = testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

} // namespace
