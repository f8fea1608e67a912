# Builds the release of the production edition, named by one version number:
#   OUTPUT/Quorvane-<VERSION>.msi           the Windows Installer package (made with wixl)
#   OUTPUT/Quorvane-<VERSION>-portable.zip  the same files in one folder Quorvane\
#
#   cmake -DVERSION=1.0.0 -DPROGRAM=.../Quorvane.exe -DRESOURCES=.../resources
#         -DOUTPUT=DIR -P MakePackage.cmake
#
# The files are Quorvane.exe and what RESOURCES holds in Data\ and Lang\Quorvane\
# at the time of the build: every language file that is shipped, none named here.
foreach(name VERSION PROGRAM RESOURCES OUTPUT)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "MakePackage.cmake needs -D${name}=...")
  endif()
endforeach()

# Each version gets a product code of its own, derived from the version so that
# the same version always gives the same package.
set(product_code_namespace 92007194-4a30-4218-947f-86ccd039c52a)
string(UUID product_code NAMESPACE ${product_code_namespace} NAME "Quorvane ${VERSION}" TYPE SHA1)

set(work ${OUTPUT}/release)
set(stage ${work}/Quorvane)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${stage}/Lang/Quorvane)
file(COPY ${PROGRAM} ${RESOURCES}/Data DESTINATION ${stage})
file(GLOB languages ${RESOURCES}/Lang/Quorvane/*.ini)
file(COPY ${languages} DESTINATION ${stage}/Lang/Quorvane)

# The components of Data\ and Lang\, from the files staged now.
file(GLOB_RECURSE shipped RELATIVE ${work} ${stage}/Data/* ${stage}/Lang/*)
list(SORT shipped)
list(JOIN shipped "\n" shipped)
file(WRITE ${work}/files.txt "${shipped}\n")
execute_process(COMMAND wixl-heat --directory-ref INSTALLDIR --component-group ShippedFiles
                        --var var.Stage --prefix Quorvane/ --win64
                INPUT_FILE ${work}/files.txt OUTPUT_FILE ${work}/Files.wxs
                COMMAND_ERROR_IS_FATAL ANY)

# wixl takes file paths relative to the folder it runs in.
file(RELATIVE_PATH icon ${work} ${RESOURCES}/quorvane.ico)
set(msi ${OUTPUT}/Quorvane-${VERSION}.msi)
execute_process(COMMAND wixl --arch x64 --output ${msi}
                        -D Version=${VERSION} -D ProductCode=${product_code} -D Stage=Quorvane
                        -D Icon=${icon} -D Win64=yes
                        ${CMAKE_CURRENT_LIST_DIR}/Quorvane.wxs Files.wxs
                WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)

set(zip ${OUTPUT}/Quorvane-${VERSION}-portable.zip)
file(REMOVE ${zip})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Quorvane
                WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)

foreach(file ${msi} ${zip})
  file(SIZE ${file} size)
  message(STATUS "${file}: ${size} bytes")
endforeach()
