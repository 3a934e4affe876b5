// A memory surface for drawing tests: pixels that can be read back on both
// window systems (Wine keeps those of memory surfaces, not of windows).
#ifndef SETUP_TESTS_UNIT_CANVAS_SUPPORT_H
#define SETUP_TESTS_UNIT_CANVAS_SUPPORT_H

#include "framework/framework.h"

namespace fwtest {

// A memory surface compatible with the screen, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : m_screen(nullptr) {
        m_dc.CreateCompatibleDC(&m_screen);
        m_bitmap.CreateCompatibleBitmap(&m_screen, width, height);
        m_old = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, width, height, fill);
    }
    ~Canvas() { m_dc.SelectObject(m_old); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    fw::CDC* DC() { return &m_dc; }
    COLORREF At(int x, int y) const { return m_dc.GetPixel(x, y); }

private:
    fw::CClientDC m_screen;
    fw::CDC m_dc;
    fw::CBitmap m_bitmap;
    fw::CBitmap* m_old = nullptr;
};

}  // namespace fwtest

#endif
