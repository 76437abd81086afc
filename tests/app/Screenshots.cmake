# vadero-demo --screenshots DIR --lang LANG: exits 0 with every picture
# written, into a folder of its own for each run.
execute_process(COMMAND mktemp -d OUTPUT_VARIABLE DIR OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${DEMO} --screenshots ${DIR} --lang ${LANG} RESULT_VARIABLE result
                TIMEOUT 200)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "vadero-demo --screenshots ended with ${result}")
endif()
foreach(name 01-connexion 02-principal 03-echelle-utilisateur 04-memoires 05-rampe 06-divers
             07-selection 08-a-propos 09-allumer-le-calibrateur 10-panneau
             11-trafic-pendant-lecture 12-menu-fichier 13-comparaison 14-tendance
             15-registres-apres-ecriture 16-trafic-ecriture 17-bureau
             18-verification-de-boucle)
  if(NOT EXISTS ${DIR}/${name}.png)
    message(FATAL_ERROR "${name}.png was not written")
  endif()
  file(SIZE ${DIR}/${name}.png size)
  if(size LESS 1000)
    message(FATAL_ERROR "${name}.png is missing or empty")
  endif()
endforeach()
file(REMOVE_RECURSE ${DIR})
