#pragma once
// The classic graphics methods (Line, Line B/BF, Circle, PSet, Cls) in pixel coordinates.
// Coordinates are doubles so callers can pass converted ScaleMode values; they are rounded
// to the nearest pixel. Everything drawn is opaque (alpha 255) and clipped to the bitmap.

#include <optional>

#include <rescalo/runtime/raster/bitmap.h>

namespace rescalo::raster {

// DrawMode: the binary raster operation between the pen colour and the destination.
enum DrawModeValue : int {
  vbBlackness = 1,
  vbNotMergePen = 2,
  vbMaskNotPen = 3,
  vbNotCopyPen = 4,
  vbMaskPenNot = 5,
  vbInvert = 6,
  vbXorPen = 7,
  vbNotMaskPen = 8,
  vbMaskPen = 9,
  vbNotXorPen = 10,
  vbNop = 11,
  vbMergeNotPen = 12,
  vbCopyPen = 13,
  vbMergePenNot = 14,
  vbMergePen = 15,
  vbWhiteness = 16,
};

// DrawStyle. Dashed and dotted styles only apply to one-pixel pens; wider pens draw solid.
enum DrawStyleValue : int {
  vbSolid = 0,
  vbDash = 1,
  vbDot = 2,
  vbDashDot = 3,
  vbDashDotDot = 4,
  vbInvisible = 5,
  vbInsideSolid = 6,
};

struct Pen {
  Color color = kBlack;
  int width = 1;  // DrawWidth in pixels; values below 1 count as 1
  int drawMode = vbCopyPen;
  int drawStyle = vbSolid;
};

// The colour DrawMode `mode` produces from pen colour `pen` over `dst`. A mode outside
// 1..16 behaves as vbCopyPen.
Color rop2(int mode, Color pen, Color dst);

// PSet: one pixel, or a round dot DrawWidth across.
void drawPoint(Bitmap& bm, double x, double y, const Pen& pen);

// Line (x1,y1)-(x2,y2): the end point itself is not drawn by a one-pixel pen; wider pens
// draw a thick line with round ends.
void drawLine(Bitmap& bm, double x1, double y1, double x2, double y2, const Pen& pen);

// Line ..., B: the outline of the box whose opposite corners are the two points, both
// corners included. A wide pen straddles the outline, or lies inside it for vbInsideSolid.
void drawBox(Bitmap& bm, double x1, double y1, double x2, double y2, const Pen& pen);

// Line ..., BF: the box filled, both corners included, through DrawMode.
void fillBox(Bitmap& bm, double x1, double y1, double x2, double y2, Color color,
             int drawMode = vbCopyPen);

// Circle (cx,cy), radius[, , start, end, aspect]. start/end are radians counter-clockwise
// from three o'clock; a negative value also draws the radius line to that end (a pie).
// aspect < 1 squashes vertically, > 1 horizontally; the radius is the longer semi-axis.
// `fill` paints the inside of a whole ellipse or of a pie closed at both ends, through
// DrawMode, before the outline.
void drawCircle(Bitmap& bm, double cx, double cy, double radius, const Pen& pen,
                std::optional<double> start = {}, std::optional<double> end = {},
                double aspect = 1.0, std::optional<Color> fill = {});

// Cls / BackColor: every pixel set to the colour, opaque.
void clear(Bitmap& bm, Color color);

}  // namespace rescalo::raster
