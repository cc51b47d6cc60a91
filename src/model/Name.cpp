#include "model/Name.h"

#include "model/WireFormat.h"

namespace kvl {

std::string TName::ToHex() const {
    return FormatHex(N, 16);
}

} // namespace kvl
