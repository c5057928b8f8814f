// SPDX-License-Identifier: GPL-3.0-or-later
// The orbit analysis plot on a QPainter: DrawPlot paints the shapes that the
// core's PlotPictureFor makes of a plot, so that the screen, the printer, the
// tests and the browser edition draw the same picture.
#pragma once

#include "lab/MoonPlot.h"
#include "lab/PlotPicture.h"

#include <QColor>

class QPainter;

// The colour of a role in the mode.
QColor PlotInkColour(PlotInk ink, bool monochrome);
// The readout segments and the residual's normal colour.
QColor ReadoutColour(bool monochrome);
// The residual when it grew.
QColor WorseRMSColour(bool monochrome);

// Paints the picture into the 654 x 336 pixels at the painter's origin.
void PaintPlotPicture(QPainter& painter, const PlotPicture& picture);
// PaintPlotPicture(PlotPictureFor(table, request)).
void DrawPlot(QPainter& painter, MeasurementTable& table, const PlotRequest& request);
