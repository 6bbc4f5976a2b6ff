#pragma once
// Everything a Qt application needs of Rescalo: attach one to a window (rescalo::qt::attach),
// or open a classic form in real widgets with its Rescalo (rescalo::qt::openForm).

#include <rescalo/bridge/open_form.h>
#include <rescalo/bridge/qt_rescalo.h>
