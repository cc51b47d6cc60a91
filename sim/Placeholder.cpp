// Placeholder: replaced by the simulator.
