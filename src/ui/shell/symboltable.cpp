#include "symboltable.h"

#include <QJSEngine>

#include <algorithm>
#include <iterator>

namespace twinsift {

namespace {

// Sorted by symbol name, so a lookup is a binary search.
constexpr SymbolTable::Entry table[] = {
    // The font has no numeral in a circle; a numbered list says "steps".
    {"1.circle.fill", "format_list_numbered", 0xe242},
    {"arrow.clockwise", "refresh", 0xe5d5},
    {"arrow.right", "arrow_forward", 0xe5c8},
    {"arrow.triangle.2.circlepath", "autorenew", 0xe863},
    {"arrow.up", "arrow_upward", 0xe5d8},
    {"arrow.up.arrow.down", "swap_vert", 0xe8d5},
    {"arrow.uturn.backward.circle.fill", "restore_from_trash", 0xe938},
    {"checklist", "checklist", 0xe6b1},
    {"checkmark", "check", 0xe5ca},
    {"checkmark.circle.fill", "check_circle", 0xe86c},
    {"checkmark.shield.fill", "verified_user", 0xe8e8},
    {"chevron.down", "expand_more", 0xe5cf},
    {"chevron.right", "chevron_right", 0xe5cc},
    {"clock.arrow.circlepath", "history", 0xe889},
    {"cpu", "memory", 0xe322},
    {"cursorarrow.click.2", "ads_click", 0xe762},
    {"desktopcomputer", "desktop_windows", 0xe30c},
    {"doc.badge.checkmark", "task", 0xf075},
    {"doc.fill", "insert_drive_file", 0xe24d},
    {"doc.on.doc", "content_copy", 0xe14d},
    {"doc.on.doc.fill", "file_copy", 0xe173},
    {"doc.text", "description", 0xe873},
    {"doc.text.magnifyingglass", "find_in_page", 0xe880},
    {"ellipsis.circle", "more_horiz", 0xe5d3},
    {"exclamationmark.triangle.fill", "warning", 0xe002},
    {"externaldrive.fill", "storage", 0xe1db},
    {"eye", "visibility", 0xe8f4},
    {"eye.fill", "visibility", 0xe8f4},
    {"eye.slash", "visibility_off", 0xe8f5},
    {"folder", "folder_open", 0xe2c8},
    {"folder.badge.plus", "create_new_folder", 0xe2cc},
    {"folder.badge.questionmark", "rule_folder", 0xf1c9},
    {"folder.fill", "folder", 0xe2c7},
    {"gearshape", "settings", 0xe8b8},
    {"hand.raised.fill", "pan_tool", 0xe925},
    {"house", "home", 0xe88a},
    {"icloud.slash", "cloud_off", 0xe2c1},
    {"info.circle", "info_outline", 0xe88f},
    {"info.circle.fill", "info", 0xe88e},
    {"internaldrive.fill", "storage", 0xe1db},
    {"line.3.horizontal.decrease.circle", "filter_list", 0xe152},
    {"link", "link", 0xe157},
    {"lock.fill", "lock", 0xe897},
    {"lock.shield.fill", "security", 0xe32a},
    {"magnifyingglass", "search", 0xe8b6},
    {"minus.circle", "remove_circle_outline", 0xe15d},
    {"number", "tag", 0xe9ef},
    {"plus.circle", "add_circle_outline", 0xe148},
    {"plus.circle.fill", "add_circle", 0xe147},
    {"questionmark.circle", "help_outline", 0xe8fd},
    {"questionmark.circle.fill", "help", 0xe887},
    {"shield.checkered", "shield", 0xe9e0},
    {"sparkles", "auto_awesome", 0xe65f},
    {"sparkles.rectangle.stack", "auto_awesome_motion", 0xe661},
    {"square.stack.3d.up.fill", "layers", 0xe53b},
    {"stop.circle.fill", "stop_circle", 0xef71},
    {"stop.fill", "stop", 0xe047},
    {"trash", "delete_outline", 0xe92e},
    {"trash.circle.fill", "delete_sweep", 0xe16c},
    {"trash.fill", "delete", 0xe872},
    {"xmark", "close", 0xe5cd},
    {"xmark.circle.fill", "cancel", 0xe5c9},
};

constexpr bool sortedBySymbol() {
    for (std::size_t i = 1; i < std::size(table); ++i)
        if (!(table[i - 1].symbol < table[i].symbol))
            return false;
    return true;
}

static_assert(sortedBySymbol(), "the table must stay sorted by symbol name");

} // namespace

std::span<const SymbolTable::Entry> SymbolTable::entries() {
    return table;
}

QString SymbolTable::glyphFor(QStringView symbol) {
    const QByteArray key = symbol.toUtf8();
    const std::string_view wanted(key.constData(), static_cast<std::size_t>(key.size()));
    const auto it =
        std::lower_bound(std::begin(table), std::end(table), wanted,
                         [](const Entry &e, std::string_view s) { return e.symbol < s; });
    if (it == std::end(table) || it->symbol != wanted)
        return {};
    return QString(QChar(it->codepoint));
}

SymbolTable *SymbolTable::create(QQmlEngine *, QJSEngine *) {
    static SymbolTable *const instance = new SymbolTable;
    QJSEngine::setObjectOwnership(instance, QJSEngine::CppOwnership);
    return instance;
}

} // namespace twinsift
