# The layers of the product: each folder of src/ is one library, and its
# headers are reachable as "<folder>/name.h" only from the folder itself and
# from targets that link it. The include root of a layer is a directory of
# the build holding nothing but a link to that folder, so an include that
# points up (or sideways) names a file the compiler cannot find.
#
#   qm_layer_headers(<target> <PUBLIC|INTERFACE> <folder>)
function(qm_layer_headers target scope folder)
  set(root ${PROJECT_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} ${scope} ${root})
endfunction()

# The identifiers shared by the resource scripts and the code: beneath every layer.
add_library(qm_resource_ids INTERFACE)
qm_layer_headers(qm_resource_ids INTERFACE resources)
