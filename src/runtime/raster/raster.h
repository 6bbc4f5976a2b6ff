#pragma once
// Everything of the raster library: bitmaps, drawing, PaintPicture, image files and .frx.

#include "runtime/raster/bitmap.h"
#include "runtime/raster/draw.h"
#include "runtime/raster/frx.h"
#include "runtime/raster/image_io.h"
#include "runtime/raster/paint.h"
