# Fails when docs/job-file.md is not what `jobini schema --markdown` prints
# from the schema the module is built with.
# Usage: cmake -DJOBINI=<jobini> -DREFERENCE=<docs/job-file.md> -P check_job_reference.cmake
execute_process(COMMAND ${JOBINI} schema --markdown
    OUTPUT_VARIABLE generated RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "jobini schema --markdown failed (${status})")
endif()
file(READ ${REFERENCE} stored)
if(NOT generated STREQUAL stored)
    message(FATAL_ERROR "docs/job-file.md is out of date with the job file's schema "
        "(src/settings/JobFileSchema.cpp). Regenerate it from the source folder with:\n"
        "  build/native/bin/jobini schema --markdown > docs/job-file.md")
endif()
