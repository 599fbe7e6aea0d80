//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Hierarchical Switch-case state. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Exported function: void Top(void);
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Initialization proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  #include "top.h"

// [Child:  Kid]
  
  
  // [Child:  Leaf]
    

// [Child:  Near]
  

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
  #define  i_A  0
  #define  i_B  1

 // Index variable.
static unsigned char ind_Top = i_A;

// Macros & functions.
// Force the FSM to the initial state.
#define Top_Init() { ind_Top = i_A; entryFsm.flg = 0; }

// This is not a history FSM.
#define _Top_Init()  {Top_Init(); /* Children: */ _Kid_Init(); _Leaf_Init(); _Near_Init();}

// Confirm that the FSM has reached the state:[B].
#define Top_IsIn_B() (ind_Top == i_B)


// [Child:  Kid]
   // States index.
    #define  i_1_K1  0
    #define  i_1_K2  1
  
   // Index variable.
  static unsigned char ind_1_Kid = i_1_K1;
  
  // Macros & functions.
  // Force the FSM to the initial state.
  #define Kid_Init() { ind_1_Kid = i_1_K1; entryFsm.flg_1 = 0; }
  
  // This is not a history FSM.
  #define _Kid_Init()  {Kid_Init(); /* Children: */ _Leaf_Init();}
  
  // Confirm that the FSM has reached a final state.
  #define Kid_End() (\
      (ind_1_Kid == i_1_K2))
  
  
   // Definition of Exit_functions.
    static void K2_1_OnExit(void);
  
  
  // [Child:  Leaf]
     // States index.
      #define  i_1_1_L  0
    
     // Index variable.
    static unsigned char ind_1_1_Leaf = i_1_1_L;
    
    // Macros & functions.
    // Force the FSM to the initial state.
    #define Leaf_Init() { ind_1_1_Leaf = i_1_1_L; }
    
    // This is not a history FSM.
    #define _Leaf_Init()  {Leaf_Init(); /* Children: */ }
    

// [Child:  Near]
   // States index.
    #define  i_3_N1  0
    #define  i_3_N2  1
  
   // Index variable.
  static unsigned char ind_3_Near = i_3_N1;
  
  // Macros & functions.
  // Force the FSM to the initial state.
  #define Near_Init() { ind_3_Near = i_3_N1; }
  
  // This is a history FSM.
  #define _Near_Init()  {}
  
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Automatic initialization (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Local child functions  (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  static void Kid(void);
  static void Leaf(void);
  static void Near(void);
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Local child functions  (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
#undef Is_Next_State_Illegal
#define Is_Next_State_Illegal() (ind_Top > i_B)

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// FSM dispatcher function to be called by the O.S.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
void Top(void)
{
    // User actions to be executed before analyse the state.
    tick();

    // Next state analyser.
    switch(ind_Top){
        case i_A:
            // State actions (Moore).
            Kid();
            // Next state selection.
            if(go){
                // Child Initialization.
                _Kid_Init();
                // Pointing to the next state.
                ind_Top = i_B;
            }
        break;
        case i_B:
            // Entry check
            if(entryFsm.flg == 0){
                entryFsm.flg = 1;
                // Entry actions
                enter_b();
            }
            // State actions (Moore).
            Leaf();
            Near();
            // Next state selection.
            if(back){
                // Child Initialization.
                _Leaf_Init();
                _Near_Init();
                // Pointing to the next state.
                ind_Top = i_A;
                // Reset entry flag
                entryFsm.flg = 0;
            }
        break;
        default:
            // State index error trap (MISRA requiremment).
            Top_Init();
        break;
    }

    // User actions to be executed after analyse the state.
    if(Is_Next_State_Illegal()) Top_Init();
}


// [Child:  Kid]
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // FSM dispatcher function to be called by the O.S.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  static void Kid(void)
  {
      // Next state analyser.
      switch(ind_1_Kid){
          case i_1_K1:
              // State actions (Moore).
              Leaf();
              // Next state selection.
              if(x){
                  // Child Initialization.
                  _Leaf_Init();
                  // Pointing to the next state.
                  ind_1_Kid = i_1_K2;
              }
          break;
          case i_1_K2:
              // Entry check
              if(entryFsm.flg_1 == 0){
                  entryFsm.flg_1 = 1;
                  // Entry actions
                  k_in();
              }
              // Next state selection.
              if(y){	// [1].
                  // Exit actions.
                  K2_1_OnExit();
                  // Pointing to the next state.
                  ind_1_Kid = i_1_K1;
                  // Reset entry flag
                  entryFsm.flg_1 = 0;
              }else if(z){	// [2].
                  // Exit actions.
                  K2_1_OnExit();
                  // Transition actions (Meally).
                  zz();
                  // Pointing to the next state.
                  ind_1_Kid = i_1_K1;
                  // Reset entry flag
                  entryFsm.flg_1 = 0;
              }
          break;
      }
  }
  
  
   // Implementation of Exit_functions.
  static void K2_1_OnExit(void)
  {
      k_out();
      k_a();
      k_b();
  }
  
  
  // [Child:  Leaf]
    
    //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
    // FSM dispatcher function to be called by the O.S.
    //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
    static void Leaf(void)
    {
        // Next state analyser.
        switch(ind_1_1_Leaf){
            case i_1_1_L:
                // State actions (Moore).
                blink();
            break;
        }
    }
    

// [Child:  Near]
  
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // FSM dispatcher function to be called by the O.S.
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  static void Near(void)
  {
      // Next state analyser.
      switch(ind_3_Near){
          case i_3_N1:
              // Next state selection.
              if(n){
                  // Pointing to the next state.
                  ind_3_Near = i_3_N2;
              }
          break;
          case i_3_N2:
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

Top remark

*/
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Diagram comments (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++


// [Child:  Kid]
  /* kid end */
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  // Diagram comments (Start).
  // - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  // - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  // Diagram comments (End).
  //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
  
  
  // [Child:  Leaf]
    //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
    // Diagram comments (Start).
    // - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
    // - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
    // Diagram comments (End).
    //++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
    

// [Child:  Near]
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
