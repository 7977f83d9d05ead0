# Installs the pinned browser-test packages into DIR once (npm ci), for the tests' fixture.
if(NOT EXISTS ${NPM})
  message(FATAL_ERROR "npm is missing: scripts/install-deps web installs Node.js and npm")
endif()
if(EXISTS ${DIR}/node_modules/puppeteer-core/package.json AND
   ${DIR}/node_modules/.package-lock.json IS_NEWER_THAN ${DIR}/package-lock.json)
  return()
endif()
execute_process(COMMAND ${NPM} ci --no-audit --no-fund --ignore-scripts
                WORKING_DIRECTORY ${DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "npm ci failed in ${DIR}")
endif()
