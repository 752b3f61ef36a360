// How a translucent widget asks its dialog to compose again.
#pragma once

class CTranslucentWnd;

class CTranslucentWndListener {
public:
    virtual ~CTranslucentWndListener() = default;
    // `pWnd`'s look changed; the listener composes its image again.
    virtual void OnRenderRequest(CTranslucentWnd* pWnd) = 0;
};
