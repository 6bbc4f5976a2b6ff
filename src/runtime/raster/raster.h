#pragma once
// Everything of the raster library: bitmaps, drawing, PaintPicture, image files and .frx.

#include <rescalo/runtime/raster/bitmap.h>
#include <rescalo/runtime/raster/draw.h>
#include <rescalo/runtime/raster/frx.h>
#include <rescalo/runtime/raster/image_io.h>
#include <rescalo/runtime/raster/paint.h>
