# Warnings for the project's own targets (not for third-party headers).
# Warnings are errors only when asked (the project's CI does): another
# compiler or build type may warn where ours does not, and a user's build
# must not fail for it.
option(ORVDB_WERROR "Treat compiler warnings as errors" OFF)

function(orvdb_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wno-unused-parameter>
    $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra>
    $<$<BOOL:${ORVDB_WERROR}>:-Werror>)
endfunction()
