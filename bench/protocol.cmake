# Discovery scans and command-channel exchanges against the device simulator.
foreach(bench bench_discovery bench_channel)
  add_executable(${bench} ${bench}.cpp)
  target_link_libraries(${bench} PRIVATE kestrova_devsim_lib kestrova_core)
  kestrova_warnings(${bench})
endforeach()
