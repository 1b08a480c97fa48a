#pragma once

#include "platform/printing/reportpage.h"

#include <QPageLayout>
#include <QSize>
#include <QStringList>

class QPainter;

namespace printing {

// What the items of a page draw, in twips, without the running line.
void DrawItems(QPainter& painter, const Page& page);
// A whole page of size (twips) as it goes on paper: its recording, or its items while it has
// none, and its running line; the painter counts twips.
void RenderPage(QPainter& painter, const Page& page, QSize size);
// The laid-out primitives of a page as text lines, for comparison.
QStringList RecordOf(const Page& page);
// The paper of a page of width x height twips.
QPageLayout PageLayoutFor(int width, int height);

}  // namespace printing
