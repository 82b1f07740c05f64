# Warnings for our own targets only; third-party code keeps its own flags.
function(velkor_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wformat=2 -Werror)
endfunction()
