# Generates the synthetic audio fixtures into ${TEST_DATA_DIR}/audio at configure time
# (quick, and skipped when the generator has not changed since the last run).
execute_process(
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/make_audio_fixtures.sh ${TEST_DATA_DIR}/audio
  RESULT_VARIABLE audio_fixtures_result)
if(NOT audio_fixtures_result EQUAL 0)
  message(FATAL_ERROR "scripts/make_audio_fixtures.sh failed (${audio_fixtures_result})")
endif()
