# cmake -DOUTPUT=FILE -P sha256sums.cmake PROGRAM...: writes the SHA-256
# sums of the programs as sha256sum(1) lists them ("<sum>  <name>").
set(lines "")
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE 4 ${last})
  set(program "${CMAKE_ARGV${i}}")
  file(SHA256 "${program}" sum)
  get_filename_component(name "${program}" NAME)
  string(APPEND lines "${sum}  ${name}\n")
endforeach()
file(WRITE "${OUTPUT}" "${lines}")
