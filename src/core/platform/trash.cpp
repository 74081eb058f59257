#include "trash.h"

#include <gio/gio.h>

namespace twinsift::Trash {

Result<void, std::string> moveToTrash(const std::string &path) {
    GFile *file = g_file_new_for_path(path.c_str());
    GError *error = nullptr;
    const gboolean moved = g_file_trash(file, nullptr, &error);
    g_object_unref(file);
    if (moved)
        return {};
    std::string message =
        error && error->message ? error->message : "The file could not be moved to the Trash.";
    if (error)
        g_error_free(error);
    return Failed{std::move(message)};
}

} // namespace twinsift::Trash
