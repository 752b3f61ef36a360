#include "framework/CommandLine.h"
#include <shellapi.h>

void CCommandLineInfo::ParseParam(LPCWSTR param, BOOL bFlag, BOOL bLast) {
    if (bFlag)
        ParseParamFlag(param);
    else
        ParseParamNotFlag(param);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(LPCWSTR param) {
    // The print switches are case-sensitive, the registration ones are not.
    if (::lstrcmpW(param, L"pt") == 0)
        m_nShellCommand = FilePrintTo;
    else if (::lstrcmpW(param, L"p") == 0)
        m_nShellCommand = FilePrint;
    else if (::lstrcmpiW(param, L"Register") == 0 || ::lstrcmpiW(param, L"Regserver") == 0)
        m_nShellCommand = AppRegister;
    else if (::lstrcmpiW(param, L"Unregister") == 0 || ::lstrcmpiW(param, L"Unregserver") == 0)
        m_nShellCommand = AppUnregister;
    else if (::lstrcmpW(param, L"dde") == 0)
        m_nShellCommand = FileDDE;
    else if (::lstrcmpiW(param, L"Embedding") == 0) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (::lstrcmpiW(param, L"Automation") == 0) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

void CCommandLineInfo::ParseParamNotFlag(LPCWSTR param) {
    if (m_strFileName.IsEmpty())
        m_strFileName = param;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
        m_strPrinterName = param;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
        m_strDriverName = param;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
        m_strPortName = param;
}

void CCommandLineInfo::ParseLast(BOOL bLast) {
    if (!bLast)
        return;
    if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
        m_nShellCommand = FileOpen;
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
}

void AfxParseCommandLine(CCommandLineInfo& info, LPCWSTR commandLine) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine, &argc);
    if (!argv)
        return;
    // The first word is the program itself.
    for (int i = 1; i < argc; ++i) {
        LPCWSTR param = argv[i];
        const bool flag = param[0] == L'-' || param[0] == L'/';
        if (flag)
            ++param;
        info.ParseParam(param, flag, i + 1 == argc);
    }
    if (argc <= 1)
        info.ParseLast(TRUE);
    ::LocalFree(argv);
}
