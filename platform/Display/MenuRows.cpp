#include "Display/MenuRows.h"

#include <algorithm>
#include <cmath>

namespace {

const CGFont& menuFont() {
    static const CGFont font = CGFont::system(13);
    return font;
}

constexpr CGFloat checkColumn = 22, arrowColumn = 20;

CGFloat heightOf(const MenuRow& row) {
    return row.kind == MenuRow::Kind::divider ? MenuRows::dividerHeight : MenuRows::rowHeight;
}

} // namespace

namespace MenuRows {

CGSize size(const std::vector<MenuRow>& rows, CGFloat minimumWidth) {
    CGFloat width = 0, height = 2 * margin;
    for (const MenuRow& row : rows) {
        height += heightOf(row);
        if (row.kind != MenuRow::Kind::divider)
            width = std::max(width, CGTextMeasure(row.title, menuFont()).width);
    }
    return {std::max(minimumWidth, std::ceil(width + checkColumn + arrowColumn)), height};
}

CGFloat rowTop(const std::vector<MenuRow>& rows, int index) {
    CGFloat top = margin;
    for (int i = 0; i < index && i < int(rows.size()); ++i)
        top += heightOf(rows[size_t(i)]);
    return top;
}

int itemAt(const std::vector<MenuRow>& rows, CGFloat fromTop) {
    CGFloat top = margin;
    for (int i = 0; i < int(rows.size()); ++i) {
        const CGFloat bottom = top + heightOf(rows[size_t(i)]);
        if (fromTop >= top && fromTop < bottom)
            return rows[size_t(i)].kind == MenuRow::Kind::divider ? -1 : i;
        top = bottom;
    }
    return -1;
}

void draw(CGContext& context, const std::vector<MenuRow>& rows, CGSize size, int highlighted) {
    const CGColor background = CGColor::rgb(0.13, 0.12, 0.11);
    const CGColor border = CGColor::rgb(0.35, 0.33, 0.30);
    const CGColor text = CGColor::rgb(0.90, 0.86, 0.78);
    const CGColor dimmedText = CGColor::rgb(0.48, 0.46, 0.42);
    const CGColor selectedText = CGColor::rgb(1, 1, 1);
    const CGColor selection = CGColor::rgb(0.20, 0.42, 0.70);
    context.setFillColor(background);
    context.fillRect({0, 0, size.width, size.height});
    context.setStrokeColor(border);
    context.setLineWidth(1);
    context.strokeRect({0.5, 0.5, size.width - 1, size.height - 1});
    for (int i = 0; i < int(rows.size()); ++i) {
        const MenuRow& item = rows[size_t(i)];
        const CGFloat top = rowTop(rows, i);
        const CGFloat height = heightOf(item);
        // The context is y-up: a row `top` points below the top edge.
        const CGRect row{0, size.height - top - height, size.width, height};
        if (item.kind == MenuRow::Kind::divider) {
            context.setFillColor(border);
            context.fillRect({6, row.midY(), size.width - 12, 1});
            continue;
        }
        const bool lit = i == highlighted && item.enabled;
        if (lit) {
            context.setFillColor(selection);
            context.fillRect({3, row.minY(), size.width - 6, height});
        }
        const CGColor& ink = lit ? selectedText : item.enabled ? text : dimmedText;
        const CGFloat lineHeight = menuFont().lineHeight();
        // In a y-up space text hangs from its rectangle's top edge.
        const CGFloat textTop = row.maxY() - (height - lineHeight) / 2;
        auto drawText = [&](const std::string& s, CGFloat x) {
            context.drawText(
                s, menuFont(), ink,
                CGRect{x, textTop - lineHeight, CGTextMeasure(s, menuFont()).width, lineHeight});
        };
        if (item.checked)
            drawText("\u2713", 7);
        drawText(item.title, checkColumn);
        if (item.kind == MenuRow::Kind::submenu)
            drawText("\u25B8", size.width - arrowColumn + 4);
    }
}

MenuRow rowOf(const NSMenuItem& item) {
    if (item.isSeparatorItem())
        return {MenuRow::Kind::divider, {}, false, false};
    return {item.hasSubmenu() ? MenuRow::Kind::submenu : MenuRow::Kind::item, item.title,
            item.state == NSCell::StateValue::on, item.isEnabled && !item.isSectionHeader()};
}

PopupWindow::Options popupOptions(std::shared_ptr<const std::vector<MenuRow>> rows,
                                  CGPoint screenTopLeft, CGFloat minimumWidth) {
    const CGSize popupSize = size(*rows, minimumWidth);
    PopupWindow::Options options;
    options.screenPosition = screenTopLeft;
    options.size = popupSize;
    options.itemCount = int(rows->size());
    options.isEnabled = [rows](int i) {
        const MenuRow& row = (*rows)[size_t(i)];
        return row.kind != MenuRow::Kind::divider && row.enabled;
    };
    options.hasSubmenu = [rows](int i) {
        return (*rows)[size_t(i)].kind == MenuRow::Kind::submenu;
    };
    options.itemAt = [rows, popupSize](CGPoint p) { return itemAt(*rows, popupSize.height - p.y); };
    options.draw = [rows, popupSize](CGContext& context, int highlighted) {
        draw(context, *rows, popupSize, highlighted);
    };
    return options;
}

} // namespace MenuRows
