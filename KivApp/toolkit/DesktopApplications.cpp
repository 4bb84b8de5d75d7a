// GLib's headers name a member "signals", which Qt's keyword macro would rewrite: no Qt header here.
#include "toolkit/DesktopApplications.h"

#ifdef KIV_HAVE_GIO
#include <gio/gio.h>
#endif

namespace kiv::DesktopApplications {

#ifdef KIV_HAVE_GIO

namespace {

// Owns a GLib list of application references.
struct AppList
{
    GList* list;
    ~AppList() { g_list_free_full(list, g_object_unref); }
};

std::string contentTypeOf(const std::string& name)
{
    gchar* type = g_content_type_guess(name.c_str(), nullptr, 0, nullptr);
    std::string result = type ? type : "";
    g_free(type);
    return result;
}

bool listed(const std::vector<Application>& applications, const char* id)
{
    for (const Application& application : applications)
        if (application.id == id)
            return true;
    return false;
}

void add(std::vector<Application>& applications, GAppInfo* info)
{
    const char* id = g_app_info_get_id(info);
    if (id && !listed(applications, id))
        applications.push_back({ id, g_app_info_get_name(info) });
}

} // namespace

std::vector<Application> forFileNamed(const std::string& name)
{
    const std::string type = contentTypeOf(name);
    std::vector<Application> applications;
    if (GAppInfo* preferred = g_app_info_get_default_for_type(type.c_str(), FALSE)) {
        add(applications, preferred);
        g_object_unref(preferred);
    }
    const AppList all { g_app_info_get_all_for_type(type.c_str()) };
    for (GList* item = all.list; item; item = item->next)
        add(applications, G_APP_INFO(item->data));
    return applications;
}

std::optional<std::string> launch(const std::string& id, const std::string& path)
{
    const AppList all { g_app_info_get_all() };
    for (GList* item = all.list; item; item = item->next) {
        GAppInfo* info = G_APP_INFO(item->data);
        if (g_app_info_get_id(info) == nullptr || id != g_app_info_get_id(info))
            continue;
        GFile* file = g_file_new_for_path(path.c_str());
        GList files { file, nullptr, nullptr };
        GError* error = nullptr;
        const bool started = g_app_info_launch(info, &files, nullptr, &error);
        g_object_unref(file);
        std::optional<std::string> problem;
        if (!started)
            problem = error ? error->message : "it did not start";
        g_clear_error(&error);
        return problem;
    }
    return "the desktop no longer knows it";
}

#else

std::vector<Application> forFileNamed(const std::string&)
{
    return {};
}

std::optional<std::string> launch(const std::string&, const std::string&)
{
    return "this system has no database of applications";
}

#endif

} // namespace kiv::DesktopApplications
