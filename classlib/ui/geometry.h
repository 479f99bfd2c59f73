// Points, sizes and rectangles in device units. TRect has the memory
// layout of the system's RECT and TPoint that of POINT (four and two 32-bit
// integers), so the drawing code hands them to the system as they are.
// Portable: no windows.h.
#pragma once

struct TPoint {
    int X = 0;
    int Y = 0;

    constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;

    constexpr bool operator==(const TSize&) const = default;
};

// Right and Bottom are exclusive: a rectangle holds the pixels Left..Right-1
// and Top..Bottom-1.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    // True when the rectangle holds no pixel.
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }

    constexpr bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
// The rectangle of width by height pixels whose top-left corner is left, top.
constexpr TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
