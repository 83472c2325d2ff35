# The release's date, ORRINDALE_RELEASE_DATE (YYYY-MM-DD, UTC), for the version header, the
# AppStream release and the manual page, and its time for the package's changelog,
# ORRINDALE_RELEASE_TIME (as in e-mail: "Tue, 08 Dec 2026 10:00:11 +0000"). A reproducible build gives it
# in SOURCE_DATE_EPOCH; a git checkout of this source takes its last commit's date, so that
# building the same commit again gives the same files; anything else takes the day it is
# configured.
set(release_epoch "$ENV{SOURCE_DATE_EPOCH}")
find_package(Git QUIET)
if(NOT release_epoch AND GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute --show-toplevel
                            --git-path HEAD
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE git_paths OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE git_result ERROR_QUIET)
    string(REPLACE "\n" ";" git_paths "${git_paths}")
    set(git_top "")
    if(git_result EQUAL 0 AND git_paths)
        list(GET git_paths 0 git_top)
    endif()
    if(git_top STREQUAL PROJECT_SOURCE_DIR)
        execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                        OUTPUT_VARIABLE release_epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        # A commit configures again (HEAD or the branch it names moves); the files made from
        # the date change only when the date does.
        execute_process(COMMAND ${GIT_EXECUTABLE} symbolic-ref -q HEAD
                        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                        OUTPUT_VARIABLE git_branch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        if(git_branch)
            execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute
                                    --git-path ${git_branch}
                            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                            OUTPUT_VARIABLE git_ref OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
            list(APPEND git_paths ${git_ref})
        endif()
        list(REMOVE_AT git_paths 0)
        foreach(git_file IN LISTS git_paths)
            if(EXISTS ${git_file})
                set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND
                             PROPERTY CMAKE_CONFIGURE_DEPENDS ${git_file})
            endif()
        endforeach()
    endif()
endif()
# string(TIMESTAMP) gives SOURCE_DATE_EPOCH's time when that is set.
set(outer_epoch "$ENV{SOURCE_DATE_EPOCH}")
if(release_epoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${release_epoch})
else()
    set(ENV{SOURCE_DATE_EPOCH} "")
endif()
string(TIMESTAMP ORRINDALE_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP ORRINDALE_RELEASE_TIME "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${outer_epoch}")
