#pragma once

#include <gio/gio.h>

#include <memory>

namespace vestrino::ui::atspi {

// Owners of GLib's reference-counted objects, released with their own unref.
struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <class T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GMainContextUnref {
    void operator()(GMainContext* context) const { g_main_context_unref(context); }
};
using GMainContextPtr = std::unique_ptr<GMainContext, GMainContextUnref>;

struct GVariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
using GVariantPtr = std::unique_ptr<GVariant, GVariantUnref>;

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

struct GDBusNodeInfoUnref {
    void operator()(GDBusNodeInfo* info) const { g_dbus_node_info_unref(info); }
};
using GDBusNodeInfoPtr = std::unique_ptr<GDBusNodeInfo, GDBusNodeInfoUnref>;

// Makes a context the calling thread's default while it lives: what GDBus hands its
// callbacks to.
class ThreadDefaultContext {
public:
    explicit ThreadDefaultContext(GMainContext* context) : context_(context) {
        g_main_context_push_thread_default(context_);
    }
    ~ThreadDefaultContext() { g_main_context_pop_thread_default(context_); }
    ThreadDefaultContext(const ThreadDefaultContext&) = delete;
    ThreadDefaultContext& operator=(const ThreadDefaultContext&) = delete;

private:
    GMainContext* context_;
};

} // namespace vestrino::ui::atspi
