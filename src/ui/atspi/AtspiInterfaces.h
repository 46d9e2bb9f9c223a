#pragma once

#include <gio/gio.h>

namespace vestrino::ui::atspi {

// The AT-SPI 2 interfaces the application serves, as GDBus reads them: GDBus checks every
// call's arguments against these before a handler sees it.
namespace interface {
inline constexpr const char* kAccessible = "org.a11y.atspi.Accessible";
inline constexpr const char* kApplication = "org.a11y.atspi.Application";
inline constexpr const char* kComponent = "org.a11y.atspi.Component";
inline constexpr const char* kAction = "org.a11y.atspi.Action";
inline constexpr const char* kText = "org.a11y.atspi.Text";
inline constexpr const char* kEditableText = "org.a11y.atspi.EditableText";
inline constexpr const char* kCache = "org.a11y.atspi.Cache";
} // namespace interface

// The description of one of them (owned by a node made once for the program).
GDBusInterfaceInfo* interfaceInfo(const char* name);

} // namespace vestrino::ui::atspi
