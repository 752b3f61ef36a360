#pragma once
#define IDD_WORKER_DIALOG 100
#define IDC_OTHER 1001
#define IDC_START 1000
