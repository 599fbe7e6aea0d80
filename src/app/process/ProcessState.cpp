#include "ProcessState.h"

namespace orvane {

ProcessState& Process()
{
    static ProcessState state;
    return state;
}

}  // namespace orvane
