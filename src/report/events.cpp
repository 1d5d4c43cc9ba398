#include "report/main_state.h"

namespace tira {

// Not built yet: the section writes nothing.
void MainState::EveBase() {}

} // namespace tira
