// What the connection controller expects next from the multiplexer.
#pragma once

namespace kvl {

enum class TRXState { stNormal, stCapture, stGetVersion, stGetConfig, stFwUpdStart, stFwUpdEnd, stGetBinary };

} // namespace kvl
