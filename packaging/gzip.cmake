# cmake -DINPUT=<file> -DOUTPUT=<file.gz> -P gzip.cmake
# Compresses for the package the way Debian wants it: best compression and no
# name or time stamp in the header, so the result depends on the content only.
execute_process(COMMAND gzip -9 -n -c "${INPUT}"
                OUTPUT_FILE "${OUTPUT}"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${INPUT}")
endif()
