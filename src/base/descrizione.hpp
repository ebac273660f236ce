#pragma once

// Which of a scenario's two descriptions: the line, or the train that runs on it.

namespace corvenna {

enum class descrizione { linea, treno };

} // namespace corvenna
