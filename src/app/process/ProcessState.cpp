#include "ProcessState.h"

namespace orvane {

ProcessState& process()
{
    static ProcessState state;
    return state;
}

}  // namespace orvane
