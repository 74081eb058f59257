#pragma once

namespace twinsift {

enum class DuplicateScanPhase {
    enumerating, // walking the folder and collecting eligible files
    hashing,     // digesting the files whose size occurs more than once
};

} // namespace twinsift
