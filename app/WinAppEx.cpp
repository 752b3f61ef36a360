#include "app/WinAppEx.h"
#include "base/Handle.h"
#include "framework/Wnd.h"
#include <iterator>

namespace {

constexpr int kLongestAtomName = 255;

} // namespace

CWinAppEx::~CWinAppEx() {
    m_uInstanceMsg = 0;
}

bool IsAnotherInstanceRunning(HANDLE mutex, DWORD lastError) {
    if (mutex)
        return lastError == ERROR_ALREADY_EXISTS;
    return lastError == ERROR_ACCESS_DENIED;
}

bool PrepareHandOver(const CCommandLineInfo& info, WPARAM* wParam) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        *wParam = 0;
        return true;
    case CCommandLineInfo::FileOpen:
        // A name over 255 characters makes no atom: the hand-over goes out without it.
        *wParam = ::GlobalAddAtomW(info.m_strFileName.c_str());
        return true;
    default:
        return false;
    }
}

BOOL CWinAppEx::InitInstance(LPCWSTR uid) {
    if (!uid)
        return CWinApp::InitInstance();

    // Registered in every copy, so the first one knows the message when it comes.
    m_uInstanceMsg = ::RegisterWindowMessageW(uid);
    // Never owned and never closed: its existence alone marks a running launcher.
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, uid);
    const DWORD error = ::GetLastError();
    if (IsAnotherInstanceRunning(mutex, error)) {
        CCommandLineInfo info;
        ParseCommandLine(info);
        WPARAM wParam = 0;
        if (PrepareHandOver(info, &wParam)) {
            // The receiver deletes the atom.
            NotifyFirstInstance(wParam, 0);
            return FALSE;
        }
    }
    return CWinApp::InitInstance();
}

BOOL CWinAppEx::NotifyFirstInstance(WPARAM wParam, LPARAM lParam) {
    DWORD recipients = BSM_APPLICATIONS;
    if (EnableProcessPrivilege(SE_TCB_NAME, TRUE))
        recipients |= BSM_ALLDESKTOPS;
    const long result =
        ::BroadcastSystemMessageW(BSF_IGNORECURRENTTASK | BSF_POSTMESSAGE | BSF_FORCEIFHUNG,
                                  &recipients, m_uInstanceMsg, wParam, lParam);
    return result != -1;
}

BOOL CWinAppEx::EnableProcessPrivilege(LPCWSTR name, BOOL enable) {
    // Windows 95, 98 and Me have no access tokens.
    constexpr DWORD kWindows9x = 0x80000000u;
    if (::GetVersion() & kWindows9x)
        return FALSE;
    CKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                            token.Receive()))
        return FALSE;
    TOKEN_PRIVILEGES privileges{};
    if (!::LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid))
        return FALSE;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    ::SetLastError(ERROR_SUCCESS);
    // ERROR_NOT_ALL_ASSIGNED comes with a non-zero result, so both must be checked.
    const BOOL adjusted =
        ::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    return adjusted && ::GetLastError() == ERROR_SUCCESS;
}

BOOL CWinAppEx::PreTranslateMessage(MSG* msg) {
    if (m_uInstanceMsg && msg->message == m_uInstanceMsg)
        return OnSecondInstance(msg);
    return CWinApp::PreTranslateMessage(msg);
}

BOOL CWinAppEx::OnSecondInstance(MSG* msg) {
    if (msg->wParam) {
        const auto atom = static_cast<ATOM>(msg->wParam);
        // The name is not used; reading and deleting the atom is what the sender is owed.
        wchar_t fileName[kLongestAtomName + 1];
        ::GlobalGetAtomNameW(atom, fileName, static_cast<int>(std::size(fileName)));
        ::GlobalDeleteAtom(atom);
    }
    if (!m_pMainWnd || !::IsWindow(m_pMainWnd->m_hWnd))
        return TRUE;
    HWND main = m_pMainWnd->m_hWnd;
    HWND popup = ::GetLastActivePopup(main);
    ::BringWindowToTop(popup);
    if (!::IsWindowVisible(main))
        ::ShowWindow(main, SW_SHOWNORMAL);
    else if (::IsIconic(main))
        ::ShowWindow(main, SW_RESTORE);
    ::BringWindowToTop(popup);
    ::SetForegroundWindow(popup);
    return TRUE;
}
