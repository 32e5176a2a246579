# The media commands: --media-info and --media-render on small files kept with the
# tests (stored under numeric names, as built games store media).
set(QM_MEDIA_DATA ${CMAKE_SOURCE_DIR}/tests/media/data)

add_test(NAME cli.media_info.wav COMMAND quillmere --media-info ${QM_MEDIA_DATA}/tone.223)
set_tests_properties(cli.media_info.wav PROPERTIES
  PASS_REGULAR_EXPRESSION "format: wav\nduration: 0\\.250\naudio: 1 channel, 8000 Hz, pcm_s16le\nvideo: none\nframes: none")

add_test(NAME cli.media_info.midi COMMAND quillmere --media-info ${QM_MEDIA_DATA}/tune.224)
set_tests_properties(cli.media_info.midi PROPERTIES PASS_REGULAR_EXPRESSION "format: midi\nduration: 0\\.500\n")

add_test(NAME cli.media_info.missing COMMAND quillmere --media-info ${QM_MEDIA_DATA}/no-such-file.223)
set_tests_properties(cli.media_info.missing PROPERTIES WILL_FAIL TRUE)

add_test(NAME cli.media_info.not_media COMMAND quillmere --media-info ${CMAKE_SOURCE_DIR}/CMakeLists.txt)
set_tests_properties(cli.media_info.not_media PROPERTIES WILL_FAIL TRUE)

# Rendering: the WAV written holds what was heard, then --media-info reads it back.
set(QM_MEDIA_OUT ${CMAKE_BINARY_DIR}/tests/media-out)
file(MAKE_DIRECTORY ${QM_MEDIA_OUT})
add_test(NAME cli.media_render.twice
  COMMAND quillmere --media-render ${QM_MEDIA_DATA}/tone.223 ${QM_MEDIA_OUT}/twice.wav --playcount 2 --volume -600)
add_test(NAME cli.media_render.twice_check COMMAND quillmere --media-info ${QM_MEDIA_OUT}/twice.wav)
set_tests_properties(cli.media_render.twice_check PROPERTIES DEPENDS cli.media_render.twice
  PASS_REGULAR_EXPRESSION "format: wav\nduration: 0\\.5[0-2][0-9]\naudio: 2 channels, 44100 Hz, pcm_s16le")

add_test(NAME cli.media_render.endless
  COMMAND quillmere --media-render ${QM_MEDIA_DATA}/tone.223 ${QM_MEDIA_OUT}/endless.wav --playcount 0 --seconds 1.5)
add_test(NAME cli.media_render.endless_check COMMAND quillmere --media-info ${QM_MEDIA_OUT}/endless.wav)
set_tests_properties(cli.media_render.endless_check PROPERTIES DEPENDS cli.media_render.endless
  PASS_REGULAR_EXPRESSION "duration: 1\\.500")

add_test(NAME cli.media_render.midi COMMAND quillmere --media-render ${QM_MEDIA_DATA}/tune.224 ${QM_MEDIA_OUT}/tune.wav)

add_test(NAME cli.media_render.endless_needs_seconds
  COMMAND quillmere --media-render ${QM_MEDIA_DATA}/tone.223 ${QM_MEDIA_OUT}/x.wav --playcount 0)
set_tests_properties(cli.media_render.endless_needs_seconds PROPERTIES WILL_FAIL TRUE)

add_test(NAME cli.media_render.missing
  COMMAND quillmere --media-render ${QM_MEDIA_DATA}/no-such-file.223 ${QM_MEDIA_OUT}/missing.wav)
set_tests_properties(cli.media_render.missing PROPERTIES WILL_FAIL TRUE)

add_test(NAME cli.media_render.bad_option
  COMMAND quillmere --media-render ${QM_MEDIA_DATA}/tone.223 ${QM_MEDIA_OUT}/x.wav --volume loud)
set_tests_properties(cli.media_render.bad_option PROPERTIES WILL_FAIL TRUE)

set_tests_properties(cli.media_render.twice cli.media_render.endless cli.media_render.midi
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy")
