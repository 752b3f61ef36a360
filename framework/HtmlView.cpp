#include "framework/HtmlView.h"
#include "framework/WinApp.h"
#include <cstring>
#include <utility>

namespace {

constexpr wchar_t kViewClass[] = L"ZvHtmlView";

LPCWSTR DefaultClass() {
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSEXW wc{sizeof wc};
    if (!::GetClassInfoExW(instance, kViewClass, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kViewClass;
        if (!::RegisterClassExW(&wc))
            return nullptr;
    }
    return kViewClass;
}

// An owned VARIANT, cleared (strings and arrays freed) when it goes.
class CVariant {
public:
    CVariant() { ::VariantInit(&m_v); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
    ~CVariant() { ::VariantClear(&m_v); }

    static CVariant Int(LONG value) {
        CVariant v;
        v.m_v.vt = VT_I4;
        v.m_v.lVal = value;
        return v;
    }
    // Empty (left out) for null text.
    static CVariant Text(LPCWSTR text) {
        CVariant v;
        if (text) {
            v.m_v.bstrVal = ::SysAllocString(text);
            if (v.m_v.bstrVal)
                v.m_v.vt = VT_BSTR;
        }
        return v;
    }
    // A byte array, as the browser takes post data; empty for no data.
    static CVariant Bytes(const void* data, DWORD size) {
        CVariant v;
        if (!data || size == 0)
            return v;
        SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, size);
        void* bytes = nullptr;
        if (!array)
            return v;
        if (FAILED(::SafeArrayAccessData(array, &bytes))) {
            ::SafeArrayDestroy(array);
            return v;
        }
        std::memcpy(bytes, data, size);
        ::SafeArrayUnaccessData(array);
        v.m_v.vt = VT_ARRAY | VT_UI1;
        v.m_v.parray = array;
        return v;
    }

    CVariant(CVariant&& o) noexcept : m_v(o.m_v) { ::VariantInit(&o.m_v); }
    VARIANT* Get() { return &m_v; }
    bool IsEmpty() const { return m_v.vt == VT_EMPTY; }

private:
    VARIANT m_v;
};

} // namespace

CHtmlView::~CHtmlView() {
    DestroyControl();
}

BOOL CHtmlView::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                       CWnd* parent, UINT id, CCreateContext*) {
    if (!className)
        className = DefaultClass();
    if (!className || !CreateEx(0, className, windowName, style, rect, parent, id))
        return FALSE;
    return CreateControl() ? TRUE : FALSE;
}

bool CHtmlView::CreateControl() {
    m_site = CComPtr<CHtmlSite>::Adopt(CHtmlSite::Create(m_hWnd));
    if (!m_site)
        return false;
    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(m_object.Receive()))) ||
        FAILED(m_object->SetClientSite(static_cast<IOleClientSite*>(m_site.Get())))) {
        DestroyControl();
        return false;
    }
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (FAILED(m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                                static_cast<IOleClientSite*>(m_site.Get()), 0, m_hWnd, &client)) ||
        FAILED(m_object->QueryInterface(IID_IWebBrowser2,
                                        reinterpret_cast<void**>(m_browser.Receive())))) {
        DestroyControl();
        return false;
    }
    // Without it the control cannot follow the window's size, but it still shows pages.
    m_object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(m_inPlace.Receive()));
    return true;
}

void CHtmlView::DestroyControl() {
    m_browser.Release();
    if (m_inPlace) {
        m_inPlace->InPlaceDeactivate();
        m_inPlace.Release();
    }
    if (m_object) {
        m_object->Close(OLECLOSE_NOSAVE);
        m_object->SetClientSite(nullptr);
        m_object.Release();
    }
    if (m_site) {
        m_site->Detach();
        m_site.Release();
    }
}

void CHtmlView::Navigate2(LPCWSTR url, DWORD flags, LPCWSTR targetFrame, LPCWSTR headers,
                          LPVOID postData, DWORD postDataLen) {
    if (!m_browser || !url)
        return;
    CVariant address = CVariant::Text(url);
    CVariant navFlags = CVariant::Int(static_cast<LONG>(flags));
    CVariant frame = CVariant::Text(targetFrame);
    CVariant extraHeaders = CVariant::Text(headers);
    CVariant post = CVariant::Bytes(postData, postDataLen);
    if (address.IsEmpty())
        return;
    m_browser->Navigate2(address.Get(), navFlags.Get(), frame.Get(), post.Get(),
                         extraHeaders.Get());
}

void CHtmlView::Refresh2(int level) {
    if (!m_browser)
        return;
    CVariant refreshLevel = CVariant::Int(level);
    m_browser->Refresh2(refreshLevel.Get());
}

LRESULT CHtmlView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (m_inPlace) {
            const RECT rc{0, 0, static_cast<short>(LOWORD(lParam)),
                          static_cast<short>(HIWORD(lParam))};
            m_inPlace->SetObjectRects(&rc, &rc);
        }
        return Default();
    case WM_DESTROY:
        // The control's own windows are children of this one: close it while they exist.
        DestroyControl();
        return Default();
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CHtmlView::PostNcDestroy() {
    delete this;
}
