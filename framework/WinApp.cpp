#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include <process.h>

namespace {
CWinApp* g_app = nullptr;

std::wstring ModuleBaseName() {
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return L"";
    std::wstring name(path, n);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}
} // namespace

CWinThread::~CWinThread() {
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

int CWinThread::ExitInstance() {
    return static_cast<int>(m_quitCode);
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
    return CWnd::WalkPreTranslateTree(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, msg);
}

namespace {

enum class Pumped { Message, Quit, Failed };

// Takes one message of the thread's queue and, unless consumed, dispatches it.
Pumped PumpOne(MSG& msg) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0)
        return Pumped::Quit;
    if (got == -1)
        return Pumped::Failed;
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return Pumped::Message;
}

} // namespace

int CWinThread::Run() {
    MSG msg;
    Pumped pumped;
    while ((pumped = PumpOne(msg)) == Pumped::Message) {
    }
    if (pumped == Pumped::Quit)
        m_quitCode = msg.wParam;
    return ExitInstance();
}

void CWinThread::RunModalLoop(HWND hwnd, const BOOL* continueFlag) {
    MSG msg;
    while (*continueFlag && ::IsWindow(hwnd)) {
        const Pumped pumped = PumpOne(msg);
        if (pumped == Pumped::Failed)
            break;
        if (pumped == Pumped::Quit) {
            if (CWinApp* app = AfxGetApp(); app && app->m_nThreadID == ::GetCurrentThreadId())
                app->m_quitCode = msg.wParam;
            // The loops outside end too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
    }
}

unsigned __stdcall CWinThread::ThreadEntry(void* self) {
    auto* thread = static_cast<CWinThread*>(self);
    UINT code = 0;
    try {
        code = thread->m_pfnThreadProc(thread->m_pThreadParams);
    } catch (...) {
        // Nothing may leave the thread's entry point.
        code = static_cast<UINT>(-1);
    }
    if (thread->m_bAutoDelete)
        delete thread;
    return code;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize,
                           DWORD createFlags, LPSECURITY_ATTRIBUTES security) {
    if (!proc)
        return nullptr;
    auto* thread = new (std::nothrow) CWinThread(proc, param);
    if (!thread)
        return nullptr;
    unsigned id = 0;
    // Always made suspended, so the object is complete before the thread can end and delete it.
    const uintptr_t handle = ::_beginthreadex(security, stackSize, &CWinThread::ThreadEntry, thread,
                                              CREATE_SUSPENDED, &id);
    if (!handle) {
        delete thread;
        return nullptr;
    }
    thread->m_hThread = reinterpret_cast<HANDLE>(handle);
    thread->m_nThreadID = id;
    ::SetThreadPriority(thread->m_hThread, priority);
    if (!(createFlags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}

CWinApp::CWinApp(LPCWSTR lpszAppName) {
    g_app = this;
    m_nThreadID = ::GetCurrentThreadId();
    m_hInstance = ::GetModuleHandleW(nullptr);
    m_bAutoDelete = FALSE;
    m_appName = lpszAppName ? lpszAppName : ModuleBaseName();
    m_pszAppName = m_appName.c_str();
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::SetRegistryKey(LPCWSTR key) {
    // Only the name is kept: the launcher stores nothing under it.
    m_registryKey = key ? key : L"";
    m_pszRegistryKey = m_registryKey.c_str();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    AfxParseCommandLine(info, ::GetCommandLineW());
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT) {
    HWND owner = nullptr;
    if (CWnd* main = AfxGetMainWnd(); main && main->m_hWnd)
        owner = ::GetLastActivePopup(main->m_hWnd);
    const std::wstring caption = g_app ? g_app->m_pszAppName : ModuleBaseName();
    return ::MessageBoxW(owner, text, caption.c_str(), type);
}

BOOL AfxPreTranslateMessage(MSG* msg) {
    if (g_app && g_app->m_nThreadID == ::GetCurrentThreadId())
        return g_app->PreTranslateMessage(msg);
    return CWnd::WalkPreTranslateTree(nullptr, msg);
}

BOOL AfxWinInit(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    if (!g_app)
        return FALSE;
    g_app->m_hInstance = instance;
    g_app->m_nThreadID = ::GetCurrentThreadId();
    return TRUE;
}

int AfxWinMain(HINSTANCE instance, HINSTANCE prev, LPWSTR cmdLine, int cmdShow) {
    CWinApp* app = AfxGetApp();
    if (!app || !AfxWinInit(instance, prev, cmdLine, cmdShow))
        return -1;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
