//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Hierarchical Switch-case state. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Exported function: void Washer(void);
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Module header proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Washing machine: fill, wash with the drum turning both ways, drain.
// The door stays locked while the machine runs.
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Module header proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Initialization proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  #include "washer_io.h"

// [Child:  Drum]
    #include "washer_io.h"

// [Child:  Door]
    #include "washer_io.h"

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Initialization proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Entry flags (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  #ifndef T_bit
      #define T_bit unsigned char
  #endif
  
  typedef struct {
      T_bit flg            :1;
      T_bit flg_1          :1;
  } T_EntryFsmFlg;
  static T_EntryFsmFlg entryFsm;
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Entry flags (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Automatic initialization (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
 // States index.
  #define  i_IDLE   0
  #define  i_FILL   1
  #define  i_WASH   2
  #define  i_DRAIN  3

 // Index variable.
static unsigned char ind_Washer = i_IDLE;

// Macros & functions.
// Force the FSM to the initial state.
#define Washer_Init() { ind_Washer = i_IDLE; entryFsm.flg = 0; }

// This is not a history FSM.
#define _Washer_Init()  {Washer_Init(); /* Children: */ _Door_Init(); _Drum_Init();}

// Confirm that the FSM has reached the state:[Idle].
#define Washer_IsIn_Idle() (ind_Washer == i_IDLE)


// [Child:  Drum]
   // States index.
    #define  i_1_LEFT   0
    #define  i_1_RIGHT  1
  
   // Index variable.
  static unsigned char ind_1_Drum = i_1_LEFT;
  
  // Macros & functions.
  // Force the FSM to the initial state.
  #define Drum_Init() { ind_1_Drum = i_1_LEFT; entryFsm.flg_1 = 0; }
  
  // This is not a history FSM.
  #define _Drum_Init()  {Drum_Init(); /* Children: */ }
  

// [Child:  Door]
   // States index.
    #define  i_2_UNLOCKED  0
    #define  i_2_LOCKED    1
  
   // Index variable.
  static unsigned char ind_2_Door = i_2_UNLOCKED;
  
  // Macros & functions.
  // Force the FSM to the initial state.
  #define Door_Init() { ind_2_Door = i_2_UNLOCKED; }
  
  // This is a history FSM.
  #define _Door_Init()  {}
  
  // Force the FSM to the state:[Locked].
  #define Door_Goto_Locked() { ind_2_Door = i_2_LOCKED; }
  
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Automatic initialization (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Local child functions  (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  static void Drum(void);
  static void Door(int lock);
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Local child functions  (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// FSM dispatcher function to be called by the O.S.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Call every 100 ms.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
void Washer(void)
{
    // Next state analyser.
    switch(ind_Washer){
        case i_IDLE:
            // Entry check
            if(entryFsm.flg == 0){
                entryFsm.flg = 1;
                // Entry actions
                lamp(LAMP_READY);
            }
            // State actions (Moore).
            Door(0);
            // Next state selection.
            if(start_pressed() && door_closed()){
                // Child Initialization.
                _Door_Init();
                // Pointing to the next state.
                ind_Washer = i_FILL;
                // Reset entry flag
                entryFsm.flg = 0;
            }
        break;
        case i_FILL:
            // Entry check
            if(entryFsm.flg == 0){
                entryFsm.flg = 1;
                // Entry actions
                valve(ON);
            }
            // State actions (Moore).
            Door(1);
            // Next state selection.
            if(level_full()){
                // Child Initialization.
                _Door_Init();
                // Exit actions.
                valve(OFF);
                // Pointing to the next state.
                ind_Washer = i_WASH;
                // Reset entry flag
                entryFsm.flg = 0;
            }
        break;
        case i_WASH:
            // Entry check
            if(entryFsm.flg == 0){
                entryFsm.flg = 1;
                // Entry actions
                timer_start(T_WASH);
            }
            // State actions (Moore).
            Door(1);
            Drum();
            // Next state selection.
            if(timer_expired()){
                // Child Initialization.
                _Drum_Init();
                _Door_Init();
                // Transition actions (Meally).
                motor(STOP);
                // Pointing to the next state.
                ind_Washer = i_DRAIN;
                // Reset entry flag
                entryFsm.flg = 0;
            }
        break;
        case i_DRAIN:
            // Entry check
            if(entryFsm.flg == 0){
                entryFsm.flg = 1;
                // Entry actions
                pump(ON);
            }
            // State actions (Moore).
            Door(1);
            // Next state selection.
            if(level_empty()){
                // Child Initialization.
                _Door_Init();
                // Exit actions.
                pump(OFF);
                // Pointing to the next state.
                ind_Washer = i_IDLE;
                // Reset entry flag
                entryFsm.flg = 0;
            }
        break;
    }
}


// [Child:  Drum]
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // FSM dispatcher function to be called by the O.S.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  static void Drum(void)
  {
      // Next state analyser.
      switch(ind_1_Drum){
          case i_1_LEFT:
              // Entry check
              if(entryFsm.flg_1 == 0){
                  entryFsm.flg_1 = 1;
                  // Entry actions
                  motor(LEFT);
                  drum_timer_start(T_TURN);
              }
              // Next state selection.
              if(drum_timer_expired()){
                  // Pointing to the next state.
                  ind_1_Drum = i_1_RIGHT;
                  // Reset entry flag
                  entryFsm.flg_1 = 0;
              }
          break;
          case i_1_RIGHT:
              // Entry check
              if(entryFsm.flg_1 == 0){
                  entryFsm.flg_1 = 1;
                  // Entry actions
                  motor(RIGHT);
                  drum_timer_start(T_TURN);
              }
              // Next state selection.
              if(drum_timer_expired()){
                  // Pointing to the next state.
                  ind_1_Drum = i_1_LEFT;
                  // Reset entry flag
                  entryFsm.flg_1 = 0;
              }
          break;
      }
  }
  

// [Child:  Door]
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // FSM dispatcher function to be called by the O.S.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  static void Door(int lock)
  {
      // Next state analyser.
      switch(ind_2_Door){
          case i_2_UNLOCKED:
              // Next state selection.
              if(lock && door_closed()){
                  // Transition actions (Meally).
                  latch(ON);
                  // Pointing to the next state.
                  ind_2_Door = i_2_LOCKED;
              }
          break;
          case i_2_LOCKED:
              // Next state selection.
              if(!lock){
                  // Transition actions (Meally).
                  latch(OFF);
                  // Pointing to the next state.
                  ind_2_Door = i_2_UNLOCKED;
              }
          break;
      }
  }
  

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Ending code proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Diagram comments (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
/*

The drum (Washer/Drum.fsm) starts again from its first state
each time the washer enters Wash; the door lock (Door.fsm) keeps its state.

*/
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Diagram comments (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++


// [Child:  Drum]
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // Diagram comments (Start).
  // - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  // - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  // Diagram comments (End).
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  

// [Child:  Door]
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // Diagram comments (Start).
  // - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  // - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  // Diagram comments (End).
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Ending code proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  End of the automatic generated C-code.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
