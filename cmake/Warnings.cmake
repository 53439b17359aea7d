# Our own targets compile warning-free; third-party code (GoogleTest) is left alone.
function(pebbo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion -Werror)
endfunction()
