# Runs keyrun on a few token lists and checks its output lines (the tool's contract).
function(expect_output args expected)
    execute_process(COMMAND ${KEYRUN} ${args} OUTPUT_VARIABLE out ERROR_VARIABLE err
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "keyrun ${args}: exit ${rc}: ${err}")
    endif()
    string(FIND "${out}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "keyrun ${args}: expected '${expected}' in:\n${out}")
    endif()
endfunction()

expect_output("1;2;.;5" "bot SSSSSSS12P5S\nlamp off\n")
expect_output(".;0;0;5;float" "bot S5PSSSSSSSSSSSSM03\n")
expect_output("1;0;Chs;Sqrt" "lamp on\n")
expect_output("wheel=0;1;SHUP;2;Div;show" "mid SSSSSSSSSS1P\n")
# A program keyed in PRGM mode that counts to 10 in register b.
expect_output("prgm;0;X>[];b;1;SHUP;b;Add;Y>[];b;1;0;X>Y?;0;3;End;run;End;Cont;b"
              "stopped after 112 steps\n")
expect_output("prgm;0;X>[];b;1;SHUP;b;Add;Y>[];b;1;0;X>Y?;0;3;End;run;End;Cont;b"
              "bot SSSSSSS10PSS\n")
expect_output("--max-steps;500;prgm;1;Add;GoTo;0;0;run;End;Cont" "still running after 500 steps\n")
# A program resumed by switching on reports its own run; STEP PRGM steps before CONT are not
# counted against the run's budget.
expect_output("--max-steps;500;prgm;1;Add;GoTo;0;0;run;End;Cont;on"
              "still running after 500 steps\nstill running after 500 steps\n")
expect_output("--max-steps;10;prgm;1;Add;GoTo;0;0;run;End;Step;Step;Step;Cont"
              "still running after 10 steps\n")
expect_output("Pi;PSpc;PSpc" "print SSSSSSSSSSSSSSS\n")
expect_output("regs" "X 32 32 32 32 32 32 32 32 32 32 0 0 32 32\n")

# An unknown token: a message naming it, exit status 2, nothing for later tokens.
execute_process(COMMAND ${KEYRUN} 1 bogus show OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 2 OR NOT err MATCHES "bogus" OR NOT out STREQUAL "")
    message(FATAL_ERROR "unknown token: rc=${rc} out='${out}' err='${err}'")
endif()

# Card tokens: a program recorded on side B of a card file, entered by a second run and run,
# ends as the same program keyed in directly.
set(card ${WORK}/keyrun_contract.mcf)
file(REMOVE ${card})
set(program "prgm;4;SHUP;5;Add;End;run;End")
execute_process(COMMAND ${KEYRUN} ${program};card-new;swap;record;card-save=${card}
                RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
if(NOT rc EQUAL 0 OR NOT EXISTS ${card})
    message(FATAL_ERROR "recording a card: rc=${rc} err='${err}'")
endif()
execute_process(COMMAND ${KEYRUN} ${program};Cont OUTPUT_VARIABLE direct)
execute_process(COMMAND ${KEYRUN} card-load=${card};swap;enter;Cont OUTPUT_VARIABLE entered)
string(REGEX REPLACE "stopped after [0-9]+ steps\n" "" direct "${direct}")
string(REGEX REPLACE "stopped after [0-9]+ steps\n" "" entered "${entered}")
if(NOT entered STREQUAL direct OR NOT direct MATCHES "9")
    message(FATAL_ERROR "entered card program:\n${entered}\nkeyed in:\n${direct}")
endif()

# A card token that fails says why and ends with exit status 2.
foreach(failing "record" "card-new;protect-a;record" "card-load=${WORK}/none.mcf"
                "stack-save=${WORK}/no/such/folder/stack.ocf")
    execute_process(COMMAND ${KEYRUN} ${failing} OUTPUT_VARIABLE out ERROR_VARIABLE err
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 2 OR err STREQUAL "")
        message(FATAL_ERROR "${failing}: rc=${rc} err='${err}'")
    endif()
endforeach()

# Program memory as a text listing: the factorial keyed in PRGM mode is saved, comes back into
# a fresh calculator and computes 5! there as it did where it was keyed.
set(listing ${CMAKE_CURRENT_BINARY_DIR}/keyrun_factorial.txt)
set(factorial "prgm;SHUP;1;x<>y;Mul;SHUP;1;Sub;X<Y?;0;c;RLU;End;RLD;GoTo;0;3;run;End")
expect_output("${factorial};listing-save=${listing};5;Cont" "bot SSSSSS120PSS\n")
# "+0.0 27 Shift Up", CR, LF, "+0.1 01 1", CR, LF: the viewer's lines with their line ends.
file(READ ${listing} head LIMIT 29 HEX)
file(STRINGS ${listing} lines)
list(LENGTH lines count)
if(NOT head STREQUAL "2b302e302032372053686966742055700d0a2b302e3120303120310d0a" OR
   NOT count EQUAL 392)
    message(FATAL_ERROR "listing-save wrote ${count} lines beginning ${head}")
endif()
expect_output("listing-load=${listing};End;5;Cont" "bot SSSSSS120PSS\n")
# A bad line: the reader's message, exit status 2, memory untouched.
file(WRITE ${listing} "Add\r\nAdder\r\n")
execute_process(COMMAND ${KEYRUN} listing-load=${listing} show OUTPUT_VARIABLE out
                ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 2 OR NOT err STREQUAL "Invalid code found - Adder\n" OR NOT out STREQUAL "")
    message(FATAL_ERROR "bad listing: rc=${rc} out='${out}' err='${err}'")
endif()
# A missing one: the viewer's message with the file and the system's reason.
execute_process(COMMAND ${KEYRUN} listing-load=${WORK}/none.txt ERROR_VARIABLE err
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 2 OR NOT err STREQUAL
   "ERROR: Failed to open file: ${WORK}/none.txt: No such file or directory\n")
    message(FATAL_ERROR "missing listing: rc=${rc} err='${err}'")
endif()

# The windows' rules: with the power off, and while a program that --max-steps left running
# still runs, the card, listing and stack tokens are refused with status 2 and a message, and
# write nothing. "off" stops such a run and switches off.
set(loop "--max-steps;10;prgm;1;Add;GoTo;0;0;run;End;Cont")
file(WRITE ${WORK}/good.txt "Add\r\n")
foreach(token "card-new" "card-load=${card}" "card-save=${WORK}/refused.mcf" "record"
              "listing-load=${WORK}/good.txt" "listing-save=${WORK}/refused.txt"
              "stack-save=${WORK}/refused.ocf")
    foreach(before "off" "${loop}")
        execute_process(COMMAND ${KEYRUN} ${before};${token} OUTPUT_QUIET ERROR_VARIABLE err
                        RESULT_VARIABLE rc)
        file(GLOB written ${WORK}/refused.*)
        if(NOT rc EQUAL 2 OR err STREQUAL "" OR written)
            message(FATAL_ERROR "${before};${token}: rc=${rc} err='${err}' wrote '${written}'")
        endif()
    endforeach()
endforeach()
execute_process(COMMAND ${KEYRUN} ${loop};off;card-new OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT err MATCHES "while the calculator is off")
    message(FATAL_ERROR "off after a run left running: '${err}'")
endif()

# The extended memory: program 2 (5 into b, then FMT END) is stored with FMT FMT, program 1
# (2 FMT GO TO, then recall b) likewise; program 1 called from the keyboard calls program 2,
# which returns into it, and it stops with 5 in X. Saved, the memory runs the same again.
set(exm ${WORK}/keyrun_contract.exm)
file(REMOVE ${exm})
set(stored "extmem;prgm;5;X>[];b;FMT;End;run;End;2;FMT;FMT;End;prgm;2;FMT;GoTo;b;End;run;End;1;FMT;FMT;End")
expect_output("${stored};1;FMT;GoTo;Cont;extmem-save=${exm}"
              "stopped after 10 steps\ntop SSSSSSSS0PSS\nmid SSSSSSSS0PSS\nbot SSSSSSSS5PSS\n")
expect_output("extmem-load=${exm};1;FMT;GoTo;Cont" "stopped after 10 steps\n")
# Without the memory, FMT stops the program before any call.
expect_output("prgm;2;FMT;GoTo;b;End;run;End;Cont" "bot SSSSSSSS2PSS\n")
foreach(failing "extmem-load=${WORK}/none.exm" "extmem-save=${WORK}/x.exm")
    execute_process(COMMAND ${KEYRUN} ${failing} OUTPUT_VARIABLE out ERROR_VARIABLE err
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 2 OR err STREQUAL "")
        message(FATAL_ERROR "${failing}: rc=${rc} err='${err}'")
    endif()
endforeach()

# Plotter tokens: a program (plotter_program.txt) draws a square left of the zero, then a sine
# curve to its right, through FMT SHIFT UP and FMT SHIFT DOWN. The record starts as a new plot,
# holds the square's corners with the pen down, lifts the pen and draws the curve.
file(READ ${CMAKE_CURRENT_LIST_DIR}/plotter_program.txt program)
string(REGEX REPLACE "[ \n]+" ";" program "${program}")
set(plot ${WORK}/keyrun_contract.ptf)
file(REMOVE ${plot})
execute_process(COMMAND ${KEYRUN} plotter ${program} Cont plot-save=${plot}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
execute_process(COMMAND ${READLIST} ${plot} OUTPUT_VARIABLE lines)
string(REPLACE "\n" ";" lines "${lines}")
list(LENGTH lines count)
# (x, y) as x * 65536 + y: the zero (3750, 2500), the corners (750, 1500), (2750, 1500),
# (2750, 3500), (750, 3500), the crest of the curve (4470, 3500) and its end (6630, 2500).
string(JOIN ";" square -31 -32 -64 -16 245762500 49153500 -31 49153500 180225500 180227500
       49155500 49153500 -16 49153500 245762500 -31 245762500)
list(SUBLIST lines 0 17 head)
list(FIND lines 292949420 crest)
list(GET lines -1 last)
if(NOT rc EQUAL 0 OR NOT head STREQUAL "${square}" OR crest EQUAL -1 OR
   NOT last STREQUAL "434506180" OR NOT count EQUAL 65)
    message(FATAL_ERROR "plotter program: rc=${rc} err='${err}' ${count} lines: ${lines}")
endif()
# plot-save and plot-svg without a plotter, or into a folder that is not there, fail with exit
# status 2.
foreach(failing "plot-save=${plot}" "plot-svg=${WORK}/x.svg" "plotter;plot-svg=${WORK}/no/x.svg")
    execute_process(COMMAND ${KEYRUN} ${failing} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
    if(NOT rc EQUAL 2)
        message(FATAL_ERROR "${failing}: rc=${rc}")
    endif()
endforeach()

# Output that cannot be written is a failure: the tool says why in one line and ends with its
# error status. The many lines fill the output's buffer long before the end, and the card saved
# after them does not hide the reason.
function(expect_unwritten tool status)
    execute_process(COMMAND ${ARGN} OUTPUT_FILE /dev/full ERROR_VARIABLE err RESULT_VARIABLE rc)
    if(NOT rc EQUAL status OR
       NOT err STREQUAL "${tool}: cannot write the output: No space left on device\n")
        message(FATAL_ERROR "${ARGN} > /dev/full: rc=${rc} err='${err}'")
    endif()
endfunction()
if(EXISTS /dev/full)
    string(REPEAT "regs;" 300 many)
    file(REMOVE ${WORK}/unwritten.mcf) # a new file: the save meets "no such file" on its way
    expect_unwritten(keyrun 2 ${KEYRUN} show)
    expect_unwritten(keyrun 2 ${KEYRUN} ${many}card-new;card-save=${WORK}/unwritten.mcf)
    expect_unwritten(readlist 1 ${READLIST} ${plot})
endif()
