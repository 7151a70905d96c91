# Writes the bytes of INPUT into OUTPUT as the C++ array embedded::<SYMBOL> and its size embedded::<SYMBOL>Size.
# Run by the build (cmake -P) so the program needs no converter tool and picks up a redrawn image by itself.
foreach(var INPUT OUTPUT SYMBOL)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "embed-png.cmake: ${var} is not set")
    endif()
endforeach()

file(READ "${INPUT}" hex HEX)
if(hex STREQUAL "")
    # C++ has no zero-length arrays, and an empty image is a mistake anyway.
    message(FATAL_ERROR "embed-png.cmake: ${INPUT} is empty")
endif()

# Sixteen bytes a line; CMake's regular expressions have no {n}, so the line pattern is spelt out.
string(REPEAT "[0-9a-f]" 32 line)
string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(STRIP "${bytes}" bytes)
get_filename_component(input_name "${INPUT}" NAME)

file(WRITE "${OUTPUT}"
"// Generated from ${input_name} by embed-png.cmake; edit the image, not this file.
#include <cstddef>

namespace embedded {
extern const unsigned char ${SYMBOL}[];
extern const std::size_t ${SYMBOL}Size;

const unsigned char ${SYMBOL}[] = {
    ${bytes}
};
const std::size_t ${SYMBOL}Size = sizeof(${SYMBOL});
}
")
