// TOnChange: a parameterless change notification; empty when nobody listens.
#pragma once

#include <functional>

namespace kvl {

using TOnChange = std::function<void()>;

} // namespace kvl
