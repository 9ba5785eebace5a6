#pragma once
// Icons of the graph toolbar's settings buttons (colours, axes, view
// options, Fit), drawn at run time like the rest of the program's pictures.
#include <QIcon>

namespace acv {

// A null icon for other commands.
QIcon GraphToolIcon(int commandId);

}  // namespace acv
