#include "update/Download.h"

#include <ctime>

#include "update/DownloadStatusCallback.h"
#include "update/UpdateConstants.h"

HRESULT DownloadToFile(const std::wstring& url, const std::wstring& path, bool bUseDeadline) {
    CDownloadStatusCallback callback;
    if (bUseDeadline) {
        callback.m_bUseDeadline = TRUE;
        callback.m_tDeadline =
            static_cast<long long>(std::time(nullptr)) + zv::update::kVersionDownloadSeconds;
    }
    const HRESULT result = URLDownloadToFileW(nullptr, url.c_str(), path.c_str(), 0,
                                              static_cast<IBindStatusCallback*>(&callback));
    return SUCCEEDED(result) && !callback.IsComplete() ? INET_E_DOWNLOAD_FAILURE : result;
}
