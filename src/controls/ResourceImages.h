#pragma once

#include "ImageList.h"

#include <memory>
#include <QStringList>

namespace controls {

// The program's icon strips, built into the library: 101 tree and grid,
// 102 drag icons, 103 toolbar, 104 menus, 105 tray menu, 106 and 107 the
// file-type icon, large and small.
namespace resource_images {

// The resource numbers that exist, in increasing order.
QList<int> numbers();
// The keys of a strip in index order; empty for an unknown number.
QStringList keys(int number);
// The edge of the strip's square images in pixels; 0 for an unknown number.
int imageSize(int number);
// The raw strip, mask colour still in place; null for an unknown number.
QImage strip(int number);
// The image list of a strip; empty (size 16) for an unknown number.
std::shared_ptr<ImageList> imageList(int number);

} // namespace resource_images

} // namespace controls
