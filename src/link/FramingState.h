// States of the two receive framings, also the results of TComm::Recv.
#pragma once

#include <cstdint>

namespace kvl {

enum class TRxState : std::uint8_t { stIdle, stRead, stEnd, stReady, stEsc, stTimeOut };

} // namespace kvl
