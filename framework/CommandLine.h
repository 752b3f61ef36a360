// What the command line asks for, classified the framework's way.
#pragma once
#include <windows.h>
#include "framework/String.h"

class CCommandLineInfo {
public:
    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand = FileNew;

    virtual ~CCommandLineInfo() = default;
    // One argument; `bFlag` when it started with '-' or '/' (stripped), `bLast` for the last one.
    virtual void ParseParam(LPCWSTR param, BOOL bFlag, BOOL bLast);
    void ParseLast(BOOL bLast);

    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;

private:
    void ParseParamFlag(LPCWSTR param);
    void ParseParamNotFlag(LPCWSTR param);
};

// Parses a whole command line (program name first) the way CWinApp::ParseCommandLine does.
void AfxParseCommandLine(CCommandLineInfo& info, LPCWSTR commandLine);
