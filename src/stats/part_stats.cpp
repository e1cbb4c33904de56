#include "stats/part_stats.h"

#include <new>

#include "diag/messages.h"

namespace korvanel {

std::unique_ptr<PartStats> new_part_stats() {
    try {
        return std::make_unique<PartStats>();
    } catch (const std::bad_alloc&) {
        fatal_error("memoire insuffisante");
    }
}

}  // namespace korvanel
