# Strict warnings for the libraries, the usual set for the shells.
function(tavrin_strict_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
    if(TAVRIN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

function(tavrin_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(TAVRIN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
