# The commit this source is, and its time, read from git at configure time: Dovarin.exe's version
# resource names the commit, and the ZIP's entries carry its time, so that anyone who builds the
# same commit gets the same bytes.
#   DOVARIN_SOURCE_COMMIT      the commit's full hash, "-dirty" after it when tracked files differ
#                              from it; DOVARIN_COMMIT when given; "unknown" when the source is not
#                              a git checkout of its own (an unpacked archive)
#   DOVARIN_SOURCE_DATE_EPOCH  the environment's SOURCE_DATE_EPOCH when set, else the commit's time,
#                              else 315532800 (1980-01-01 00:00 UTC, the earliest a ZIP can hold)
set(DOVARIN_COMMIT "" CACHE STRING
    "The commit Dovarin.exe names, for a source without git; empty: ask git")

set(git_commit "")
set(git_time "")
find_package(Git QUIET)
if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        OUTPUT_VARIABLE git_top OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE git_failed ERROR_QUIET)
    # A source unpacked inside some other checkout must not take that checkout's commit.
    file(REAL_PATH "${CMAKE_SOURCE_DIR}" source_real)
    if(NOT git_failed)
        file(REAL_PATH "${git_top}" git_top)
    endif()
    if(NOT git_failed AND git_top STREQUAL source_real)
        execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%H%n%ct
            WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
            OUTPUT_VARIABLE git_head OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        string(REPLACE "\n" ";" git_head "${git_head}")
        list(LENGTH git_head git_fields)
        if(git_fields EQUAL 2)
            list(GET git_head 0 git_commit)
            list(GET git_head 1 git_time)
            execute_process(COMMAND ${GIT_EXECUTABLE} status --porcelain --untracked-files=no
                WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                OUTPUT_VARIABLE git_changes ERROR_QUIET)
            if(NOT git_changes STREQUAL "")
                string(APPEND git_commit "-dirty")
            endif()
            # A new commit configures again, so that the version resource does not name an old one.
            execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute
                    --git-path HEAD --git-path packed-refs --symbolic-full-name HEAD
                WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                OUTPUT_VARIABLE git_files OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
            string(REPLACE "\n" ";" git_files "${git_files}")
            list(POP_BACK git_files git_ref)
            execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute
                    --git-path "${git_ref}"
                WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                OUTPUT_VARIABLE git_ref_file OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
            foreach(file IN LISTS git_files git_ref_file)
                if(EXISTS "${file}")
                    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
                endif()
            endforeach()
        endif()
    endif()
endif()

if(NOT DOVARIN_COMMIT STREQUAL "")
    set(DOVARIN_SOURCE_COMMIT "${DOVARIN_COMMIT}")
elseif(NOT git_commit STREQUAL "")
    set(DOVARIN_SOURCE_COMMIT "${git_commit}")
else()
    set(DOVARIN_SOURCE_COMMIT "unknown")
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(DOVARIN_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
elseif(NOT git_time STREQUAL "")
    set(DOVARIN_SOURCE_DATE_EPOCH "${git_time}")
else()
    set(DOVARIN_SOURCE_DATE_EPOCH 315532800)
endif()
if(NOT DOVARIN_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$" OR DOVARIN_SOURCE_DATE_EPOCH LESS 315532800)
    message(FATAL_ERROR "SOURCE_DATE_EPOCH '${DOVARIN_SOURCE_DATE_EPOCH}' is not a time a ZIP can "
                        "hold (seconds since 1970, from 1980 on)")
endif()
message(STATUS "Source commit ${DOVARIN_SOURCE_COMMIT}, time ${DOVARIN_SOURCE_DATE_EPOCH}")
