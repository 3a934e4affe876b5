// Points and rectangles: POINT and RECT with the usual arithmetic, usable
// wherever the platform takes the plain structures.
//
// Classes in this file:
//   CPoint   a POINT
//   CRect    a RECT (right and bottom exclusive, as the platform's)
#ifndef SETUP_FRAMEWORK_GEOMETRY_H
#define SETUP_FRAMEWORK_GEOMETRY_H

#include "framework/winapi.h"

namespace fw {

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int initX, int initY) : POINT{initX, initY} {}
    CPoint(const POINT& point) : POINT(point) {}  // NOLINT: a POINT is a CPoint

    bool operator==(const POINT& other) const { return x == other.x && y == other.y; }
    bool operator!=(const POINT& other) const { return !(*this == other); }

    operator LPPOINT() { return this; }
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rect) : RECT(rect) {}  // NOLINT: a RECT is a CRect
    CRect(POINT topLeft, SIZE size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    // Right and bottom are outside the rectangle, as for the platform's PtInRect.
    bool PtInRect(POINT point) const {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }

    void SetRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
    void NormalizeRect() {
        if (left > right) {
            int swap = left;
            left = right;
            right = swap;
        }
        if (top > bottom) {
            int swap = top;
            top = bottom;
            bottom = swap;
        }
    }
    // The overlap of a and b; an empty (all zero) rectangle when they do not overlap.
    bool IntersectRect(const RECT& a, const RECT& b) {
        SetRect(a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom);
        if (IsRectEmpty()) {
            SetRectEmpty();
            return false;
        }
        return true;
    }

    bool operator==(const RECT& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
    bool operator!=(const RECT& other) const { return !(*this == other); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

}  // namespace fw

#endif
