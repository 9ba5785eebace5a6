#pragma once
// The graph's fonts, given as the layout needs them: a character height and
// an average character width in pixels and a weight. "Arial" is used where the
// system has it, otherwise the closest sans-serif with the same metrics
// (Liberation Sans); the start screen's "Arial Black" falls back to the bold
// face of that family.
#include <QFont>

namespace acv {

// A sans-serif font of the given pixel height; a positive averageWidth
// stretches the glyphs so that an average character is that wide.
QFont SansFont(int pixelHeight, int averageWidth, QFont::Weight weight);

QFont AxisLabelFont();    // axis labels and legends: height 12, weight 500
QFont ReadoutFont();      // cursor readout: height 20, width 8, weight 100
QFont StartScreenFont();  // "Arial Black", height 90, width 40

}  // namespace acv
