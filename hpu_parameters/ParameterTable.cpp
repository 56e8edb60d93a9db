#include "hpu_parameters/ParameterTable.h"

namespace hpu {

const std::array<Parameter, kParameterCount>& Parameters() {
  static constexpr std::array<Parameter, kParameterCount> parameters = {{
      {"N° Carte", "-", 0},
      {"Version Soft", "-", 0},
      {"Pression max", "x0.01 bar", 830},
      {"Pression min", "x0,01bar", 0},
      {"Tension alternateur basse", "x0,1V", 350},
      {"Tension alternateur haute", "x0,1V", 500},
      {"RPM mini", "RPM", 900},
      {"RPM nominal", "RPM", 1200},
      {"RPM max", "RPM", 1500},
      {"Puissance mini", "W", 200},
      {"Puissance maxi", "W", 550},
      {"Courant max pompe", "x0,01A", 1200},
      {"Temps activation EV très basse pression", "x10ms", 50},
      {"Temps activation EV", "x10ms", 4},
      {"Temps activation  EV décollage joint", "x10ms", 8},
      {"Tempo mise en veille", "x10ms", 500},
      {"Temps rampe décollage joint", "x10ms", 20},
      {"temps décollage joint", "x10ms", 20},
      {"Temps rampe démarrage moteur", "x10ms", 4},
      {"Temps moteur démarré", "x10ms", 3},
      {"Temps attente entre impulsions", "x10ms", 30},
      {"PWM Moteur début rampe", "0-255", 120},
      {"PWM Moteur", "0-255", 200},
      {"Temps ouverture EV mise en veille", "ms", 5000},
  }};
  return parameters;
}

}  // namespace hpu
