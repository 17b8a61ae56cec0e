// The cube swarm: 15 open boxes tumbling in place, all drawn from one display list.
#pragma once

// Compiles the five-faced box (no face at +y) into `scene.cubeList`.
void CreateCubeList();

// Colours, positions and spins from eight random draws per box; rotations start at 0.
void InitCubeSwarm();

// Draws every box and advances its rotations by one frame.
void RenderCubeSwarm();
