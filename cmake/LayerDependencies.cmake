# Links between window layers: a layer that calls another layer's plain classes names it here.
# Each line is guarded so that a layer without sources yet leaves the build intact.
function(tessellon_layer_uses layer)
  if(NOT TARGET tess_${layer})
    return()
  endif()
  foreach(used ${ARGN})
    if(TARGET tess_${used})
      target_link_libraries(tess_${layer} PUBLIC tess_${used})
    endif()
  endforeach()
endfunction()

tessellon_layer_uses(searching editing)
tessellon_layer_uses(picture_windows editing)
tessellon_layer_uses(statistics editing reports)

# The statistics window draws its charts with Qt Charts and writes them as SVG.
if(TARGET tess_statistics)
  find_package(Qt6 REQUIRED COMPONENTS Charts Svg)
  target_link_libraries(tess_statistics PUBLIC Qt6::Charts Qt6::Svg)
endif()

# Tellico files are zip archives: the interchange layer reads and writes them with libzip, and
# inflates their XML with ISA-L's igzip (three times as fast as zlib, with its CRC32).
if(TARGET tess_interchange)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
  pkg_check_modules(LIBISAL REQUIRED IMPORTED_TARGET libisal)
  target_link_libraries(tess_interchange PUBLIC PkgConfig::LIBZIP PkgConfig::LIBISAL)
endif()
