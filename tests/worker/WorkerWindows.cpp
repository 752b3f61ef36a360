#include "tests/worker/WorkerWindows.h"

#include "tests/worker/TestIds.h"
#include "update/UpdateWorker.h"

namespace {
constexpr wchar_t kSkinClass[] = L"ZvWorkerTestSkin";
}

INT_PTR CALLBACK CWorkerWindows::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return TRUE;
    }
    if (message == WM_NEXTDLGCTL) {
        if (auto* self = reinterpret_cast<CWorkerWindows*>(GetWindowLongPtrW(hwnd, DWLP_USER)))
            ++self->m_focusRequests;
    }
    // Everything else, WM_NEXTDLGCTL included, is the platform's default dialog handling.
    return FALSE;
}

LRESULT CALLBACK CWorkerWindows::SkinProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_LAUNCHER_EXIT) {
        if (auto* self = reinterpret_cast<CWorkerWindows*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            ++self->m_exitRequests;
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

CWorkerWindows::CWorkerWindows() {
    WNDCLASSW skinClass{};
    skinClass.lpfnWndProc = SkinProc;
    skinClass.hInstance = GetModuleHandleW(nullptr);
    skinClass.lpszClassName = kSkinClass;
    RegisterClassW(&skinClass); // already there from an earlier test: fine

    m_hSkin = CreateWindowExW(0, kSkinClass, L"Skin", WS_POPUP | WS_VISIBLE, 100, 100, 200, 150,
                              nullptr, nullptr, GetModuleHandleW(nullptr), this);
    m_hDialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_WORKER_DIALOG),
                                   nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    if (!m_hDialog)
        return;
    m_hStart = GetDlgItem(m_hDialog, IDC_START);
    ShowWindow(m_hStart, SW_HIDE);
    ShowWindow(m_hDialog, SW_SHOW);
    SetForegroundWindow(m_hDialog);
    SetFocus(GetDlgItem(m_hDialog, IDC_OTHER));
}

CWorkerWindows::~CWorkerWindows() {
    Destroy();
}

void CWorkerWindows::Destroy() {
    if (m_hDialog && IsWindow(m_hDialog))
        DestroyWindow(m_hDialog);
    if (m_hSkin && IsWindow(m_hSkin))
        DestroyWindow(m_hSkin);
}

bool CWorkerWindows::StartShownAndFocused() const {
    return IsWindowVisible(m_hStart) && GetFocus() == m_hStart;
}
