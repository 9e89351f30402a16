# Makes the welcome note "about.jtl" and its body "about.jtl2" in OUTPUT_DIR
# from welcome.json and welcome.html in SOURCE_DIR, with the built JOTLETCTL.
# Run as: cmake -DJOTLETCTL=... -DSOURCE_DIR=... -DOUTPUT_DIR=... -P MakeWelcome.cmake
set(ENV{QT_QPA_PLATFORM} offscreen)
set(note ${OUTPUT_DIR}/about.jtl)
set(body_rtf ${OUTPUT_DIR}/about-body.rtf)
file(MAKE_DIRECTORY ${OUTPUT_DIR})
file(REMOVE ${note} ${note}2 ${body_rtf})

execute_process(COMMAND ${JOTLETCTL} make ${note}
    INPUT_FILE ${SOURCE_DIR}/welcome.json
    RESULT_VARIABLE made ERROR_VARIABLE made_error)
if(NOT made EQUAL 0)
    message(FATAL_ERROR "welcome note: ${made_error}")
endif()

# convert chooses the format by the extension, so the body goes through .rtf.
execute_process(COMMAND ${JOTLETCTL} convert ${SOURCE_DIR}/welcome.html ${body_rtf}
    RESULT_VARIABLE converted ERROR_VARIABLE converted_error)
if(NOT converted EQUAL 0)
    message(FATAL_ERROR "welcome note body: ${converted_error}")
endif()
file(RENAME ${body_rtf} ${note}2)
