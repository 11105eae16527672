#pragma once

class QWidget;

namespace halcyra {

class Catalogue;

// Fills a window's captions and tool tips from the catalogue. Controls name their catalogue
// entry by number:
//   - the window, labels, buttons and frames: the dynamic property "tag";
//   - menu entries and toolbar buttons (actions): their text or tool tip is the number;
//   - tabs: the tab's data is the tag, the tool tip the number;
//   - list headers (QTreeWidget): the header item's Qt::UserRole data is the tag.
// A control whose number is missing or 0 keeps what it has; nothing here fails the window.
void ApplyCatalogueCaptions(QWidget& window, const Catalogue& catalogue);

} // namespace halcyra
