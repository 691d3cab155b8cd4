#include "Controls/StyledTextLabel.h"

#include <limits>

#include "Styles/Styles.h"

CGSize WidthResizingTextField::intrinsicContentSize() const {
    const CGSize size = StyledTextField::intrinsicContentSize();
    if (!cell())
        return size;
    const CGRect b = bounds();
    return cell()->cellSizeForBounds(
        {b.origin, {std::numeric_limits<CGFloat>::max(), size.height}});
}

namespace {
// A table label's style: the fonts and colour, and neither padding nor bezel.
template <class Style>
std::shared_ptr<Style> tableLabelStyle(std::shared_ptr<NSFont> font,
                                       std::shared_ptr<NSFont> selectedFont,
                                       std::shared_ptr<NSColor> textColor) {
    auto style = std::make_shared<Style>();
    style->setFont(std::move(font));
    style->setSelectedFont(std::move(selectedFont));
    style->setTextColor(std::move(textColor));
    style->setBezelImageCapInsets({});
    style->setPadding({});
    style->setBezelImages({});
    return style;
}
} // namespace

std::shared_ptr<TableRowLabelCellStyle> StyledTableRowLabelCell::makeStyle() {
    using namespace Styles;
    return tableLabelStyle<TableRowLabelCellStyle>(TableRow::font(), TableRow::selectedFont(),
                                                   TableRow::textColor());
}

std::shared_ptr<TableGroupLabelCellStyle> StyledTableGroupRowLabelCell::makeStyle() {
    using namespace Styles;
    return tableLabelStyle<TableGroupLabelCellStyle>(
        TableGroupRow::font(), TableGroupRow::selectedFont(), TableGroupRow::textColor());
}
